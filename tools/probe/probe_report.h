#pragma once
// The probe's report: lines of text, written as UTF-8 with Windows line ends so that Notepad
// on any Windows shows it as it is.
#include <string>
#include <vector>

namespace halyard::probe {

class ProbeReport {
public:
    void heading(const std::wstring& title);
    void line(const std::wstring& text, int depth = 0);
    const std::vector<std::wstring>& lines() const { return lines_; }
    // UTF-8 with a byte order mark, CR LF after every line.
    std::string fileBytes() const;

private:
    std::vector<std::wstring> lines_;
};

// A window text as the report shows it: in quotes, control characters written as \n, \t, \xNN,
// so that a caption with line breaks stays on one line of the report.
std::wstring quoted(const std::wstring& text);
std::wstring joined(const std::vector<std::wstring>& texts, const std::wstring& separator = L" | ");

}  // namespace halyard::probe
