// Test requesters with a scripted answer; see fake_requesters.h.
#include "fake_requesters.h"
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <algorithm>
#include <cstring>

namespace {
std::string answer;
std::vector<RequesterCall> inputs;
std::vector<RequesterCall> notes;
} // namespace

void FakeRequesterScript(const std::string& text) {
    answer = text;
    inputs.clear();
    notes.clear();
}

const std::vector<RequesterCall>& FakeRequesterInputs() {
    return inputs;
}
const std::vector<RequesterCall>& FakeRequesterNotes() {
    return notes;
}

void RequesterStart(void*) {}

char* InputRequester(const char* caption, const char* prompt, const char* presetText) {
    inputs.push_back({caption, prompt, presetText ? presetText : "(null)", 0});
    char* result = WorkspacePosition();
    const std::size_t room = WorkspaceRoom();
    const std::size_t length = std::min({answer.size(), room - 1, InputLimit - 1});
    std::memcpy(result, answer.data(), length);
    result[length] = '\0';
    WorkspaceAdvance(length);
    return result;
}

int NoteRequester(const char* caption, const char* text, ULong flags) {
    notes.push_back({caption, text, "", flags});
    return 1;
}
