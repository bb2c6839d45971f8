# The web edition's page: the program made suspendable by Binaryen's Asyncify, then one HTML file
# holding it (base64) with the page's script, worker and style inline, so that it works opened
# from disk and loads nothing. The build includes this file for primteiler_web_page(); that
# function's rule runs it again with -P to write the page.
if(CMAKE_SCRIPT_MODE_FILE)
  # Base64 of the bytes written as hexadecimal digits in `hex` (for the policy's hashes).
  function(hex_to_base64 hex out)
    set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
    string(LENGTH "${hex}" digits)
    set(text "")
    set(at 0)
    while(at LESS digits) # three bytes at a time, the last group padded with "="
      string(SUBSTRING "${hex}" ${at} 6 group)
      string(LENGTH "${group}" length)
      math(EXPR bytes "${length} / 2")
      math(EXPR value "0x${group} << (8 * (3 - ${bytes}))")
      foreach(position RANGE 1 ${bytes})
        math(EXPR index "(${value} >> (24 - 6 * ${position})) & 63")
        string(SUBSTRING "${alphabet}" ${index} 1 character)
        string(APPEND text "${character}")
      endforeach()
      math(EXPR index "${value} >> (18 - 6 * ${bytes}) & 63")
      string(SUBSTRING "${alphabet}" ${index} 1 character)
      string(APPEND text "${character}")
      if(bytes LESS 3)
        math(EXPR pad "3 - ${bytes}")
        string(REPEAT "=" ${pad} padding)
        string(APPEND text "${padding}")
      endif()
      math(EXPR at "${at} + 6")
    endwhile()
    set(${out} "${text}" PARENT_SCOPE)
  endfunction()

  # What may stand inside an HTML element of raw text: nothing that would end it early, and no
  # field name of the page, which would be filled in there.
  function(inline_text file tag out)
    file(READ ${file} text)
    string(TOLOWER "${text}" lower)
    string(FIND "${lower}" "</${tag}" end)
    string(FIND "${lower}" "<!--" comment)
    string(REGEX MATCH "@[A-Z_]+@" field "${text}")
    if(NOT end EQUAL -1 OR NOT comment EQUAL -1 OR field)
      message(FATAL_ERROR "${file} holds </${tag}, <!-- or ${field}, which would break the page")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
  endfunction()

  # The policy's hash of an inline element's text.
  function(policy_hash text out)
    string(SHA256 digest "${text}")
    hex_to_base64(${digest} hash)
    set(${out} "'sha256-${hash}'" PARENT_SCOPE)
  endfunction()

  execute_process(COMMAND base64 -w0 ${PROGRAM} OUTPUT_VARIABLE program COMMAND_ERROR_IS_FATAL ANY)
  inline_text(${WEB}/page.css style style)
  inline_text(${WEB}/page.js script script)
  inline_text(${WEB}/worker.mjs script worker)
  # A page opened from disk cannot start a module worker from a blob: URL, only a classic one:
  # the worker module goes in without its exports.
  string(REGEX REPLACE "(^|\n)export " "\\1" worker "${worker}")
  policy_hash("${style}" style_hash)
  policy_hash("${script}" script_hash)
  file(READ ${ICON} icon)
  # The icon as a data URL, without its comment; an SVG needs only its few URL-special
  # characters escaped.
  string(REGEX REPLACE "<!--[^>]*-->" "" icon "${icon}")
  string(REGEX REPLACE "\n *" " " icon "${icon}")
  foreach(pair "%;%25" "#;%23" "&;%26" "\";'" "<;%3C" ">;%3E")
    list(GET pair 0 from)
    list(GET pair 1 to)
    string(REPLACE "${from}" "${to}" icon "${icon}")
  endforeach()
  string(STRIP "${icon}" icon)
  set(icon "data:image/svg+xml,${icon}")

  file(READ ${WEB}/page.html.in page)
  foreach(field STYLE_HASH SCRIPT_HASH ICON STYLE PROGRAM WORKER SCRIPT)
    string(TOLOWER ${field} variable)
    string(REPLACE "@${field}@" "${${variable}}" page "${page}")
  endforeach()
  # All ASCII, so that no charset a server may name changes a byte the policy's hashes cover.
  string(REGEX MATCH "[^\t\n -~]" other "${page}")
  if(NOT other STREQUAL "")
    message(FATAL_ERROR "the page holds a character beyond ASCII: write it as an escape")
  endif()
  file(WRITE ${OUT} "${page}")
  return()
endif()

find_program(WASM_OPT wasm-opt REQUIRED) # Debian package binaryen

# primteiler_web_page(<program target> <page>): builds the page <page> in the programs' folder
# from the WebAssembly program <program target>; the target <program target>_page makes it.
function(primteiler_web_page target page)
  set(web ${PROJECT_SOURCE_DIR}/ui/web)
  set(icon ${PROJECT_SOURCE_DIR}/app/primteiler.svg)
  set(suspendable ${CMAKE_CURRENT_BINARY_DIR}/${target}.suspendable.wasm)
  set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${page})
  # Only the calls that reach a requester can suspend, so only they are rewritten: the two
  # computations keep their plain loops.
  add_custom_command(OUTPUT ${suspendable}
    COMMAND ${WASM_OPT} $<TARGET_FILE:${target}> --asyncify
            --pass-arg=asyncify-imports@primteiler.input_requester,primteiler.note_requester
            --pass-arg=asyncify-ignore-indirect -O2 --strip-debug --strip-producers
            -o ${suspendable}
    DEPENDS ${target} VERBATIM)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=${suspendable} -DWEB=${web} -DICON=${icon} -DOUT=${out}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${suspendable} ${web}/page.html.in ${web}/page.css ${web}/page.js ${web}/worker.mjs
            ${icon} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    VERBATIM)
  add_custom_target(${target}_page ALL DEPENDS ${out})
endfunction()
