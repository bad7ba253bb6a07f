// Writes the manual page at build time: the page's text with the program's
// version, its release date, its description, its options and its keys filled in from
// the words --help prints, so the page and --help never disagree.
//   cadenzo-manual-page TEXT RELEASE_DATE PAGE
// TEXT holds @VERSION@, @DATE@, @DESCRIPTION@ and the lines @OPTIONS@ and @KEYS@.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/option_texts.h"
#include "bank/window_title.h"

namespace {

// `text` as roff prose: backslashes shown as such, a dash that starts a
// word (an option) as a minus sign, lines joined into one paragraph.
std::string Roff(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool wordStart = i == 0 || text[i - 1] == ' ' || text[i - 1] == '\n' || text[i - 1] == '-';
        if (c == '\\') out += "\\e";
        else if (c == '-' && wordStart) out += "\\-";
        else if (c == '\n') out += ' ';
        else out += c;
    }
    // A line that starts with a dot or an apostrophe would be a request.
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::string OptionsSection() {
    std::string out;
    for (const cadenzo::OptionText* option : cadenzo::kOptionTexts) {
        out += ".TP\n";
        if (option->shortName) out += "\\fB\\-" + Roff(option->shortName) + "\\fR, ";
        out += "\\fB\\-\\-" + Roff(option->longName) + "\\fR";
        if (option->valueName) out += " \\fI" + Roff(option->valueName) + "\\fR";
        out += '\n' + Roff(option->description) + '\n';
    }
    return out;
}

std::string KeysSection() {
    std::string out;
    for (const cadenzo::KeyText& key : cadenzo::kKeyTexts)
        out += ".TP\n.B " + Roff(key.keys) + '\n' + Roff(key.description) + '\n';
    return out;
}

void Replace(std::string& text, std::string_view token, const std::string& by) {
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + by.size()))
        text.replace(at, token.size(), by);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: cadenzo-manual-page TEXT RELEASE_DATE PAGE\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::cerr << "cadenzo-manual-page: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::string page = text.str();
    Replace(page, "@OPTIONS@\n", OptionsSection());
    Replace(page, "@KEYS@\n", KeysSection());
    Replace(page, "@DESCRIPTION@", Roff(cadenzo::kProgramDescription));
    Replace(page, "@VERSION@", std::string(cadenzo::ProgramVersion()));
    Replace(page, "@DATE@", argv[2]);
    std::ofstream out(argv[3]);
    out << page;
    out.close();
    if (!out) {
        std::cerr << "cadenzo-manual-page: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}
