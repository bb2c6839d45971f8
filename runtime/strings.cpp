// The string workspace and string variables.
#include "runtime/strings.h"

#include "runtime/heap.h"

#include <cassert>
#include <cstring>

namespace {

char* workspace;         // WorkspaceSize bytes from runtimeHeap
char* workspacePosition; // within [workspace, workspace + WorkspaceSize - 1]

char* LastByte() {
    return workspace + (WorkspaceSize - 1);
}

} // namespace

void WorkspaceStart() {
    workspace = static_cast<char*>(RuntimeAlloc(WorkspaceSize, true));
    workspacePosition = workspace;
}

char* WorkspaceBase() {
    return workspace;
}

char* WorkspacePosition() {
    return workspacePosition;
}

void WorkspaceRewind(char* start) {
    assert(start >= workspace && start <= LastByte() && "rewind outside the workspace");
    workspacePosition = start;
}

std::size_t WorkspaceRoom() {
    return static_cast<std::size_t>(LastByte() - workspacePosition) + 1;
}

void WorkspaceAdvance(std::size_t length) {
    const std::size_t room = WorkspaceRoom();
    workspacePosition += length < room ? length : room - 1;
}

void WorkspaceProtect() {
    if (workspacePosition < LastByte()) ++workspacePosition;
}

void WorkspaceAppend(const char* text) {
    assert(text && "append of a null text");
    const std::size_t length = std::strlen(text);
    const std::size_t room = WorkspaceRoom();
    const std::size_t kept = length < room ? length : room - 1; // would not fit? cut
    std::memmove(workspacePosition, text, kept);
    workspacePosition[kept] = '\0';
    workspacePosition += kept;
}

void WorkspaceAppend(const StringVariable& variable) {
    if (variable.text) return WorkspaceAppend(variable.text);
    const std::size_t room = WorkspaceRoom();
    std::memset(workspacePosition, 0, room < 4 ? room : 4);
}

void WorkspaceCommit(StringVariable& variable, char* start) {
    assert(start >= workspace && start <= workspacePosition && "statement start after position");
    RuntimeFree(variable.text);
    const auto length = static_cast<std::size_t>(workspacePosition - start);
    auto* copy = static_cast<char*>(RuntimeAlloc(length + 1, false));
    std::memcpy(copy, start, length);
    copy[length] = '\0'; // also when nothing was written since `start`
    variable.text = copy;
    workspacePosition = start;
}

void StringAssign(StringVariable& variable, const char* text) {
    RuntimeFree(variable.text);
    variable.text = nullptr;
    if (!text) return;
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(RuntimeAlloc(size, false));
    std::memcpy(copy, text, size);
    variable.text = copy;
}
