// The requesters of the web edition: the page draws the input window and the message box in
// HTML. The program runs in a Web Worker and cannot wait for the page there, so each call
// suspends it: Asyncify unwinds the call stack into the suspend area and rewinds it once the
// page has answered, and the import returns the answer as if it had waited.
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <cstdint>

// Imports of the page; each returns only once the user has answered.
//
// Shows the input window; writes the entered text as windows-1252 bytes, without a NUL, to
// `result`, at most `capacity` bytes; returns how many it wrote (0 when cancelled).
__attribute__((import_module("primteiler"), import_name("input_requester"))) std::size_t
WebInputRequester(const char* caption, const char* prompt, const char* presetText, char* result,
                  std::size_t capacity);
// Shows the message box of type `flags`; returns the button pressed. The page draws the type
// the program passes, 0: one OK button (1), no icon.
__attribute__((import_module("primteiler"), import_name("note_requester"))) int
WebNoteRequester(const char* caption, const char* text, ULong flags);

namespace {

// Where Asyncify keeps the suspended call stack: where saving goes on and where the room ends
// (addresses in the module's memory), then the room. The frames from _start down to a requester
// (five, with few locals each) fit in far less.
struct SuspendArea {
    std::uintptr_t next;
    std::uintptr_t end;
    unsigned char room[2048];
};
SuspendArea suspendArea;

} // namespace

// Readies the suspend area for one suspension; returns its address. Called by the page.
extern "C" __attribute__((export_name("suspend_area"))) SuspendArea* WebSuspendArea() {
    suspendArea.next = reinterpret_cast<std::uintptr_t>(suspendArea.room);
    suspendArea.end = reinterpret_cast<std::uintptr_t>(suspendArea.room + sizeof suspendArea.room);
    return &suspendArea;
}

void RequesterStart(void* /*instance: no window class here*/) {}

char* InputRequester(const char* caption, const char* prompt, const char* presetText) {
    char* result = WorkspacePosition();
    const std::size_t room = WorkspaceRoom();
    const std::size_t capacity = (room < InputLimit ? room : InputLimit) - 1; // before the NUL
    std::size_t length = WebInputRequester(caption, prompt, presetText, result, capacity);
    if (length > capacity) length = capacity; // the page is not trusted past the room it was given
    result[length] = '\0';
    WorkspaceAdvance(length);
    return result;
}

int NoteRequester(const char* caption, const char* text, ULong flags) {
    return WebNoteRequester(caption, text, flags);
}
