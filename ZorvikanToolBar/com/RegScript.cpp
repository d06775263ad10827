#include "ZorvikanToolBar/com/RegScript.h"

#include <cctype>
#include <cstring>

namespace {

// Thrown inside the parser only; ParseRegScript turns it into -1.
struct ParseError {
    std::string what;
};

class Parser {
public:
    Parser(const char* text, const RegReplacements& replacements) : m_p(text), m_repl(replacements) {}

    std::vector<RegScriptRoot> Script()
    {
        std::vector<RegScriptRoot> roots;
        while (!AtEnd()) {
            RegScriptRoot root;
            std::string name = Word();
            if (name != "HKCR" && name != "HKCU" && name != "HKLM") Fail("unknown root '" + name + "'");
            root.root = name.c_str();
            Expect('{');
            root.keys = Keys();
            roots.push_back(std::move(root));
        }
        return roots;
    }

private:
    // Keys and values up to the closing brace (consumed).
    std::vector<RegScriptKey> Keys(std::vector<RegScriptValue>* values = nullptr)
    {
        std::vector<RegScriptKey> keys;
        for (;;) {
            SkipSpace();
            if (AtEnd()) Fail("missing '}'");
            if (*m_p == '}') {
                ++m_p;
                return keys;
            }
            bool quoted = false;
            std::string word = Word(&quoted);
            if (!quoted && word == "val") {
                if (!values) Fail("a value outside a key");
                RegScriptValue value;
                value.name = Word().c_str();
                Expect('=');
                value.text = StringData().c_str();
                values->push_back(std::move(value));
                continue;
            }
            RegScriptKey key;
            if (!quoted && (word == "NoRemove" || word == "ForceRemove")) {
                key.flag = word == "NoRemove" ? RegKeyFlag::kNoRemove : RegKeyFlag::kForceRemove;
                word = Word();
            } else if (!quoted && word == "Delete") {
                Fail("'Delete' is not supported");
            }
            if (word.empty()) Fail("an empty key name");
            key.name = word.c_str();
            SkipSpace();
            if (!AtEnd() && *m_p == '=') {
                ++m_p;
                key.hasDefault = true;
                key.defaultText = StringData().c_str();
            }
            SkipSpace();
            if (!AtEnd() && *m_p == '{') {
                ++m_p;
                key.keys = Keys(&key.values);
            }
            keys.push_back(std::move(key));
        }
    }

    // "s 'text'": the only data type the scripts use.
    std::string StringData()
    {
        bool quoted = false;
        std::string type = Word(&quoted);
        if (quoted || type != "s") Fail("only string data (s) is supported, not '" + type + "'");
        SkipSpace();
        if (AtEnd() || *m_p != '\'') Fail("string data must be quoted");
        return Word();
    }

    // A bare word (up to a blank, brace or '=') or a quoted text, replaced.
    std::string Word(bool* quoted = nullptr)
    {
        SkipSpace();
        if (AtEnd()) Fail("unexpected end");
        std::string raw;
        if (*m_p == '\'') {
            ++m_p;
            for (;;) {
                if (!*m_p) Fail("unterminated quote");
                if (*m_p == '\n') ++m_line;
                if (*m_p == '\'') {
                    if (m_p[1] != '\'') break;
                    ++m_p;
                }
                raw += *m_p++;
            }
            ++m_p;
            if (quoted) *quoted = true;
        } else {
            // A name in braces ("{GUID}") is one word; a lone brace opens a block.
            if (*m_p == '{' && isalnum((unsigned char)m_p[1])) {
                while (*m_p && *m_p != '}' && !isspace((unsigned char)*m_p)) raw += *m_p++;
                if (*m_p != '}') Fail("unterminated '{' in a name");
                raw += *m_p++;
            }
            while (*m_p && !isspace((unsigned char)*m_p) && !strchr("{}=", *m_p)) raw += *m_p++;
            if (raw.empty()) Fail(std::string("unexpected '") + *m_p + "'");
        }
        return Replace(raw);
    }

    std::string Replace(const std::string& raw)
    {
        std::string out;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            size_t end = raw.find('%', i + 1);
            if (end == std::string::npos) Fail("unterminated replacement in '" + raw + "'");
            std::string name = raw.substr(i + 1, end - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                auto found = m_repl.find(name);
                if (found == m_repl.end()) Fail("unknown replacement '" + name + "'");
                out += found->second;
            }
            i = end;
        }
        return out;
    }

    void Expect(char c)
    {
        SkipSpace();
        if (AtEnd() || *m_p != c) Fail(std::string("expected '") + c + "'");
        ++m_p;
    }
    void SkipSpace()
    {
        while (*m_p && isspace((unsigned char)*m_p)) {
            if (*m_p == '\n') ++m_line;
            ++m_p;
        }
    }
    bool AtEnd()
    {
        SkipSpace();
        return *m_p == 0;
    }
    [[noreturn]] void Fail(const std::string& what)
    {
        throw ParseError{"line " + std::to_string(m_line) + ": " + what};
    }

    const char* m_p;
    const RegReplacements& m_repl;
    int m_line = 1;
};

}  // namespace

int ParseRegScript(const char* text, const RegReplacements& replacements, std::vector<RegScriptRoot>& out,
                   CString& error)
{
    out.clear();
    error.Empty();
    if (!text) {
        error = "no script";
        return -1;
    }
    try {
        Parser parser(text, replacements);
        out = parser.Script();
        return 0;
    } catch (const ParseError& e) {
        error = e.what.c_str();
        return -1;
    }
}
