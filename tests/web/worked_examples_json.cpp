// Writes the worked examples, as the page shows them, to standard output as JSON: the browser
// tests take them from here rather than from a copy.
#include "support/worked_examples.h"

#include <cstdio>
#include <string>

namespace {

std::string Json(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

const char* ShowsName(Shows shows) {
    switch (shows) {
    case Shows::Report:
        return "report";
    case Shows::Error:
        return "error";
    case Shows::Nothing:
        break;
    }
    return "nothing";
}

} // namespace

int main() {
    std::printf("{\"inputCaption\": %s, \"inputPrompt\": %s, \"reportCaption\": %s,\n",
                Json(InputCaption).c_str(), Json(InputPrompt).c_str(), Json(ReportCaption).c_str());
    std::printf(" \"errorCaption\": %s, \"errorText\": %s,\n", Json(ErrorCaption).c_str(),
                Json(ErrorText).c_str());
    std::printf(" \"longEntry\": %s, \"longEntryShowsAs\": %s,\n", Json(LongEntry()).c_str(),
                Json(LongEntryShowsAs).c_str());
    std::printf(" \"longReportEntry\": %s, \"longReportDivisors\": %d,\n",
                Json(LongReportEntry).c_str(), LongReportDivisors);
    std::printf(" \"examples\": [");
    const char* separator = "\n";
    for (const WorkedExample& example : WorkedExamples) {
        // The page shows each CR LF of the report as a line break.
        const std::string pattern =
            example.shows == Shows::Report ? WorkedReportPattern(example, "\n") : "";
        std::printf("%s  {\"entered\": %s, \"shows\": \"%s\", \"reportPattern\": %s}", separator,
                    Json(example.entered).c_str(), ShowsName(example.shows), Json(pattern).c_str());
        separator = ",\n";
    }
    std::printf("\n]}\n");
}
