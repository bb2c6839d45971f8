// Fuzz target: string statements in the workspace, driven by the fuzz bytes, against a model
// that keeps every expression whole as a std::string. A committed or protected expression must
// equal the model's text cut to what fits from the statement's start, every statement must
// leave the position where it began, and no write may pass the block's last byte (the block is
// exactly WorkspaceSize bytes from malloc, so AddressSanitizer sees the first byte beyond).
#include "fuzz/fuzz_check.h"
#include "runtime/heap.h"
#include "runtime/strings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace {

// An expression from byte `start` keeps at most LastIndex - start bytes.
constexpr std::size_t LastIndex = WorkspaceSize - 1;
constexpr int VariableCount = 4; // the last one is read but never assigned
constexpr int MaxDepth = 3;      // statements nested behind protected expressions

// The fuzz bytes, taken front to back; zeros once they are used up.
struct FuzzBytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
};

std::uint8_t TakeByte(FuzzBytes& bytes) {
    return bytes.at < bytes.size ? bytes.data[bytes.at++] : 0;
}

std::uint32_t TakeWord(FuzzBytes& bytes, int byteCount) {
    std::uint32_t word = 0;
    for (int i = 0; i < byteCount; ++i)
        word = word << 8 | TakeByte(bytes);
    return word;
}

StringVariable variables[VariableCount];
std::optional<std::string> models[VariableCount]; // none: the variable is null

// A literal for an operand written at byte `position`: bytes as they come (a NUL among them
// ends the text), a short or a long run, or a run that ends within three bytes of the
// workspace's last byte, short of it or past it.
std::string TakeLiteral(FuzzBytes& bytes, std::size_t position) {
    const std::uint8_t kind = TakeByte(bytes);
    std::size_t length = 0;
    switch (kind % 4) {
    case 0: {
        std::string raw;
        for (std::size_t n = TakeByte(bytes) % 32; n > 0; --n)
            raw += static_cast<char>(TakeByte(bytes));
        return raw.c_str();
    }
    case 1:
        length = TakeByte(bytes);
        break;
    case 2:
        length = TakeWord(bytes, 2) * std::size_t{2}; // up to twice the workspace
        break;
    default: {
        const auto aim = static_cast<long long>(LastIndex - position) + TakeByte(bytes) % 7 - 3;
        length = static_cast<std::size_t>(std::max(aim, 0LL));
        break;
    }
    }
    // No period that a copy shifted by a few bytes would hide; never NUL.
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(1 + (i * 7 + i / 251 + kind) % 255);
    return text;
}

void CheckVariable(int v) {
    FuzzCheck((variables[v].text == nullptr) == !models[v].has_value(),
              "a variable is null exactly when never assigned or assigned null");
    FuzzCheck(StringText(variables[v]) == models[v].value_or(""), "a variable's text");
}

// Appends `fewest` to six operands at the position (the start of the statement, at byte
// `startIndex`), checking the workspace after each; returns the expression uncut.
std::string BuildExpression(FuzzBytes& bytes, std::size_t startIndex, int fewest) {
    char* const base = WorkspaceBase();
    const std::size_t room = LastIndex - startIndex; // bytes the expression can keep
    std::string expression;
    for (int operands = fewest + TakeByte(bytes) % (7 - fewest); operands > 0; --operands) {
        const std::size_t position = startIndex + std::min(expression.size(), room);
        switch (TakeByte(bytes) % 3) {
        case 0: {
            const std::string literal = TakeLiteral(bytes, position);
            WorkspaceAppend(literal.c_str());
            expression += literal;
            break;
        }
        case 1: {
            const int v = TakeByte(bytes) % VariableCount;
            WorkspaceAppend(variables[v]);
            expression += models[v].value_or("");
            break;
        }
        default: {
            const auto value = static_cast<Long>(TakeWord(bytes, 4));
            FuzzCheck(LongToText(value) == base + position, "LongToText returns its text's start");
            expression += std::to_string(value);
            break;
        }
        }
        const std::size_t kept = std::min(expression.size(), room);
        FuzzCheck(WorkspacePosition() == base + startIndex + kept, "the position after an operand");
        FuzzCheck(*WorkspacePosition() == '\0', "the expression ends at the position");
        FuzzCheck(std::memcmp(base + startIndex, expression.data(), kept) == 0,
                  "the expression's text in the workspace");
    }
    return expression;
}

// One complete statement, chosen by the bytes: an expression assigned to a variable, a literal
// (or null) assigned, or an expression protected while nested statements run behind it.
void RunStatement(FuzzBytes& bytes, int depth) {
    char* const start = WorkspacePosition();
    const auto startIndex = static_cast<std::size_t>(start - WorkspaceBase());
    const std::size_t room = LastIndex - startIndex;
    switch (TakeByte(bytes) % 3) {
    case 0: {
        // No operand at all assigns the empty text.
        const std::string expression = BuildExpression(bytes, startIndex, 0);
        const int target = TakeByte(bytes) % (VariableCount - 1);
        WorkspaceCommit(variables[target], start);
        models[target] = expression.substr(0, room);
        CheckVariable(target);
        break;
    }
    case 1: {
        const int target = TakeByte(bytes) % (VariableCount - 1);
        if (TakeByte(bytes) % 2 == 0) {
            const std::string literal = TakeLiteral(bytes, startIndex);
            StringAssign(variables[target], literal.c_str());
            models[target] = literal;
        } else {
            StringAssign(variables[target], nullptr);
            models[target].reset();
        }
        CheckVariable(target);
        break;
    }
    default: {
        // At least one operand: only an operand puts a NUL at the position for protect to pass.
        const std::string kept = BuildExpression(bytes, startIndex, 1).substr(0, room);
        WorkspaceProtect();
        // One past the NUL, unless the NUL is on the last byte.
        FuzzCheck(WorkspacePosition() ==
                      WorkspaceBase() + std::min(startIndex + kept.size() + 1, LastIndex),
                  "protect moves past the NUL");
        if (depth < MaxDepth) {
            for (int nested = TakeByte(bytes) % 3; nested > 0; --nested)
                RunStatement(bytes, depth + 1);
        }
        FuzzCheck(std::strlen(start) == kept.size() &&
                      std::memcmp(start, kept.data(), kept.size()) == 0,
                  "a protected expression is left alone");
        WorkspaceRewind(start);
        break;
    }
    }
    FuzzCheck(WorkspacePosition() == start, "a statement leaves the position where it began");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RuntimeHeapStart();
    WorkspaceStart();
    FuzzBytes bytes{data, size, 0};
    while (bytes.at < bytes.size)
        RunStatement(bytes, 0);
    FuzzCheck(WorkspacePosition() == WorkspaceBase(), "the workspace is given back");
    for (int v = 0; v < VariableCount; ++v)
        CheckVariable(v);

    RuntimeHeapEnd(); // every copy with it
    for (int v = 0; v < VariableCount; ++v) {
        variables[v] = StringVariable{};
        models[v].reset();
    }
    return 0;
}
