// Test requesters: the input requester answers with a scripted text, and every call is recorded.
#pragma once

#include "runtime/types.h"

#include <string>
#include <vector>

struct RequesterCall {
    std::string caption;
    std::string text; // the prompt of an input requester, the text of a note
    std::string presetText;
    ULong flags;
};

// The text the next input requesters answer with (as typed and confirmed); clears the record.
void FakeRequesterScript(const std::string& answer);

// Calls since the last script, in order.
const std::vector<RequesterCall>& FakeRequesterInputs();
const std::vector<RequesterCall>& FakeRequesterNotes();
