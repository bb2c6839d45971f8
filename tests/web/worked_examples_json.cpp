// Writes the worked examples, as the page and the desktop edition show them, to standard output
// as JSON: the suites written in JavaScript and Python take them from here rather than from a
// copy.
#include "runtime/heap.h"
#include "support/worked_examples.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// `text` as a JSON string. The examples are ASCII: a byte beyond would need the page's
// windows-1252 reading, which JSON does not know, so it stops the export.
std::string JsonQuote(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            std::fprintf(stderr, "worked example beyond ASCII: %s\n", text.c_str());
            std::exit(1);
        }
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

const char* JsonShows(Shows shows) {
    switch (shows) {
    case Shows::Report:
        return "\"report\"";
    case Shows::Error:
        return "\"error\"";
    case Shows::Nothing:
        break;
    }
    return "\"nothing\"";
}

} // namespace

int main() {
    std::printf("{\"inputCaption\": %s, \"inputPrompt\": %s, \"reportCaption\": %s,\n",
                JsonQuote(InputCaption).c_str(), JsonQuote(InputPrompt).c_str(),
                JsonQuote(ReportCaption).c_str());
    std::printf(" \"errorCaption\": %s, \"errorText\": %s,\n", JsonQuote(ErrorCaption).c_str(),
                JsonQuote(ErrorText).c_str());
    std::printf(" \"longEntry\": %s, \"longEntryShowsAs\": %s,\n", JsonQuote(LongEntry()).c_str(),
                JsonQuote(LongEntryShowsAs).c_str());
    std::printf(" \"longReportEntry\": %s, \"longReportDivisors\": %d,\n",
                JsonQuote(LongReportEntry).c_str(), LongReportDivisors);
    std::printf(" \"outOfMemoryExitCode\": %u,\n", ExitOutOfMemory);
    std::printf(" \"examples\": [");
    const char* separator = "\n";
    for (const WorkedExample& example : WorkedExamples) {
        // The report's text as the program passes it, its lines ending in CR LF.
        const std::string pattern =
            example.shows == Shows::Report ? WorkedReportPattern(example, "\r\n") : "";
        std::printf("%s  {\"entered\": %s, \"shows\": %s, \"reportPattern\": %s}", separator,
                    JsonQuote(example.entered).c_str(), JsonShows(example.shows),
                    JsonQuote(pattern).c_str());
        separator = ",\n";
    }
    std::printf("\n]}\n");
}
