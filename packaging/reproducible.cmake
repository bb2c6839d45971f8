# Run by CPack on the staged files before it packs them: every file and folder gets the time of
# SOURCE_DATE_EPOCH (the release's commit), so the archive does not record when or where it was
# built. Without SOURCE_DATE_EPOCH (a package made while testing) nothing changes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
execute_process(
  COMMAND find ${CPACK_TEMPORARY_INSTALL_DIRECTORY} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
  COMMAND_ERROR_IS_FATAL ANY)
