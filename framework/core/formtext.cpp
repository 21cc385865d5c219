// Form text syntax: the lexer and parser (text to FormObject) and the printer (FormObject to text).
#include "framework/core/formtext.h"

#include <charconv>

#include "framework/core/rtti.h"

namespace fw {

namespace {

// Objects and collections nest; hostile text must not exhaust the stack.
constexpr int kMaxDepth = 64;

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

struct Token {
    enum class Type { End, Ident, Integer, Float, String, Symbol, Binary };
    Type type = Type::End;
    int line = 1;
    int column = 1;
    std::string text;  // Ident, String, Binary bytes
    int64_t integer = 0;
    bool hex = false;
    double number = 0;
    char symbol = 0;
};

class Lexer {
public:
    Lexer(std::string_view text, const std::string& formName) : s_(text), formName_(formName) {}

    [[noreturn]] void Fail(const std::string& what, int line, int column) const {
        throw EParserError("Error in form " + formName_ + " at line " + std::to_string(line) + ", column " +
                           std::to_string(column) + ": " + what);
    }
    [[noreturn]] void Fail(const std::string& what, const Token& at) const { Fail(what, at.line, at.column); }

    Token Next() {
        SkipBlanks();
        Token t;
        t.line = line_;
        t.column = Column();
        if (pos_ >= s_.size()) return t;
        char c = s_[pos_];
        if (IsAlpha(c)) {
            size_t start = pos_;
            while (pos_ < s_.size() && (IsAlpha(s_[pos_]) || IsDigit(s_[pos_]))) ++pos_;
            t.type = Token::Type::Ident;
            t.text = std::string(s_.substr(start, pos_ - start));
            return t;
        }
        if (IsDigit(c) || c == '$' || ((c == '-' || c == '+') && pos_ + 1 < s_.size() &&
                                       (IsDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '$'))) {
            return Number(t);
        }
        if (c == '\'' || c == '#') return String(t);
        if (c == '{') return Binary(t);
        ++pos_;
        t.type = Token::Type::Symbol;
        t.symbol = c;
        return t;
    }

private:
    int Column() const { return static_cast<int>(pos_ - lineStart_) + 1; }

    void NewLineAt(size_t i) {
        // Counts CR LF, LF and a lone CR each as one line end.
        if (s_[i] == '\n' || (s_[i] == '\r' && (i + 1 >= s_.size() || s_[i + 1] != '\n'))) {
            ++line_;
            lineStart_ = i + 1;
        }
    }

    void SkipBlanks() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                NewLineAt(pos_);
                ++pos_;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n' && s_[pos_] != '\r') ++pos_;
            } else {
                break;
            }
        }
    }

    Token Number(Token& t) {
        bool negative = false;
        if (s_[pos_] == '-' || s_[pos_] == '+') {
            negative = s_[pos_] == '-';
            ++pos_;
        }
        if (s_[pos_] == '$') {
            ++pos_;
            size_t start = pos_;
            while (pos_ < s_.size() && IsHexDigit(s_[pos_])) ++pos_;
            size_t n = pos_ - start;
            if (n == 0) Fail("hexadecimal digits expected", t);
            if (n > 16) Fail("number too large", t);
            uint64_t u = 0;
            for (size_t i = start; i < pos_; ++i) u = (u << 4) | static_cast<uint64_t>(HexValue(s_[i]));
            t.type = Token::Type::Integer;
            t.hex = true;
            t.integer = negative ? static_cast<int64_t>(0 - u) : static_cast<int64_t>(u);
            return t;
        }
        size_t start = pos_;
        while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
        bool isFloat = false;
        if (pos_ + 1 < s_.size() && s_[pos_] == '.' && IsDigit(s_[pos_ + 1])) {
            isFloat = true;
            ++pos_;
            while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            size_t e = pos_ + 1;
            if (e < s_.size() && (s_[e] == '+' || s_[e] == '-')) ++e;
            if (e < s_.size() && IsDigit(s_[e])) {
                isFloat = true;
                pos_ = e;
                while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
            }
        }
        if (pos_ < s_.size() && (IsAlpha(s_[pos_]))) Fail("invalid number", t);
        std::string digits(s_.substr(start, pos_ - start));
        if (isFloat) {
            double v = 0;
            auto res = std::from_chars(digits.data(), digits.data() + digits.size(), v);
            if (res.ec != std::errc() || res.ptr != digits.data() + digits.size()) Fail("invalid number", t);
            t.type = Token::Type::Float;
            t.number = negative ? -v : v;
            return t;
        }
        uint64_t u = 0;
        auto res = std::from_chars(digits.data(), digits.data() + digits.size(), u);
        if (res.ec != std::errc() || res.ptr != digits.data() + digits.size()) Fail("number too large", t);
        if (negative ? u > (uint64_t(1) << 63) : u > uint64_t(INT64_MAX)) Fail("number too large", t);
        t.type = Token::Type::Integer;
        t.integer = negative ? static_cast<int64_t>(0 - u) : static_cast<int64_t>(u);
        return t;
    }

    // 'quoted' and #nn parts, side by side.
    Token String(Token& t) {
        t.type = Token::Type::String;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r')
                        Fail("unterminated string", t);
                    if (s_[pos_] == '\'') {
                        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
                            t.text += '\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    t.text += s_[pos_++];
                }
            } else if (c == '#') {
                int column = Column();
                ++pos_;
                unsigned value = 0;
                size_t start = pos_;
                if (pos_ < s_.size() && s_[pos_] == '$') {
                    ++pos_;
                    start = pos_;
                    while (pos_ < s_.size() && IsHexDigit(s_[pos_]) && pos_ - start < 4)
                        value = value * 16 + static_cast<unsigned>(HexValue(s_[pos_++]));
                } else {
                    while (pos_ < s_.size() && IsDigit(s_[pos_]) && pos_ - start < 4)
                        value = value * 10 + static_cast<unsigned>(s_[pos_++] - '0');
                }
                if (pos_ == start || value > 255) Fail("character code 0..255 expected", line_, column);
                t.text += static_cast<char>(value);
            } else {
                break;
            }
        }
        return t;
    }

    Token Binary(Token& t) {
        ++pos_;
        t.type = Token::Type::Binary;
        int pending = -1;
        for (;;) {
            if (pos_ >= s_.size()) Fail("'}' expected", t);
            char c = s_[pos_];
            if (c == '}') {
                ++pos_;
                break;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                NewLineAt(pos_);
                ++pos_;
                continue;
            }
            if (!IsHexDigit(c)) Fail("hexadecimal digit expected", line_, Column());
            if (pending < 0) {
                pending = HexValue(c);
            } else {
                t.text += static_cast<char>(pending * 16 + HexValue(c));
                pending = -1;
            }
            ++pos_;
        }
        if (pending >= 0) Fail("odd number of hexadecimal digits", t);
        return t;
    }

    std::string_view s_;
    const std::string& formName_;
    size_t pos_ = 0;
    size_t lineStart_ = 0;
    int line_ = 1;
};

class Parser {
public:
    Parser(std::string_view text, const std::string& formName, bool allowFileRefs)
        : lex_(text, formName), allowFileRefs_(allowFileRefs) {
        Advance();
    }

    FormObject Parse() {
        FormObject root = Object(0);
        if (tok_.type != Token::Type::End) lex_.Fail("end of text expected", tok_);
        return root;
    }

private:
    void Advance() { tok_ = lex_.Next(); }

    bool IsKeyword(const char* word) const { return tok_.type == Token::Type::Ident && SameName(tok_.text, word); }
    bool IsSymbol(char c) const { return tok_.type == Token::Type::Symbol && tok_.symbol == c; }

    [[noreturn]] void Expected(const std::string& what) {
        std::string found;
        switch (tok_.type) {
            case Token::Type::End: found = "end of text"; break;
            case Token::Type::Ident: found = "'" + tok_.text + "'"; break;
            case Token::Type::Symbol: found = std::string("'") + tok_.symbol + "'"; break;
            default: found = "a value"; break;
        }
        lex_.Fail(what + " expected but " + found + " found", tok_);
    }

    std::string Ident(const char* what) {
        if (tok_.type != Token::Type::Ident) Expected(what);
        std::string s = tok_.text;
        Advance();
        return s;
    }

    void Symbol(char c) {
        if (!IsSymbol(c)) Expected(std::string("'") + c + "'");
        Advance();
    }

    FormObject Object(int depth) {
        if (depth > kMaxDepth) lex_.Fail("objects nested too deeply", tok_);
        FormObject obj;
        obj.line = tok_.line;
        obj.column = tok_.column;
        if (!IsKeyword("object")) Expected("'object'");
        Advance();
        obj.name = Ident("object name");
        Symbol(':');
        obj.className = Ident("class name");
        for (;;) {
            if (IsKeyword("end")) {
                Advance();
                return obj;
            }
            if (IsKeyword("object")) {
                obj.children.push_back(Object(depth + 1));
                continue;
            }
            if (tok_.type == Token::Type::End) Expected("'end'");
            obj.properties.push_back(Property(depth));
        }
    }

    FormProperty Property(int depth) {
        FormProperty p;
        p.line = tok_.line;
        p.column = tok_.column;
        p.path = Ident("property name");
        while (IsSymbol('.')) {
            Advance();
            p.path += '.';
            p.path += Ident("property name");
        }
        Symbol('=');
        p.value = Value(depth);
        return p;
    }

    std::string StringParts() {
        std::string s = tok_.text;
        Advance();
        while (IsSymbol('+')) {
            Advance();
            if (tok_.type != Token::Type::String) Expected("string");
            s += tok_.text;
            Advance();
        }
        return s;
    }

    FormValue Value(int depth) {
        FormValue v;
        v.line = tok_.line;
        v.column = tok_.column;
        switch (tok_.type) {
            case Token::Type::Integer:
                v.kind = FormValue::Kind::Integer;
                v.integer = tok_.integer;
                v.hex = tok_.hex;
                Advance();
                return v;
            case Token::Type::Float:
                v.kind = FormValue::Kind::Float;
                v.number = tok_.number;
                Advance();
                return v;
            case Token::Type::String:
                v.kind = FormValue::Kind::String;
                v.text = StringParts();
                return v;
            case Token::Type::Binary:
                v.kind = FormValue::Kind::Binary;
                v.bytes = tok_.text;
                Advance();
                return v;
            case Token::Type::Ident:
                if (IsKeyword("end") || IsKeyword("object")) Expected("value");
                v.kind = FormValue::Kind::Ident;
                v.text = tok_.text;
                Advance();
                while (IsSymbol('.')) {
                    Advance();
                    v.text += '.';
                    v.text += Ident("identifier");
                }
                return v;
            case Token::Type::End:
                Expected("value");
            case Token::Type::Symbol:
                break;
        }
        char c = tok_.symbol;
        if (c == '[') {
            Advance();
            v.kind = FormValue::Kind::Set;
            if (!IsSymbol(']')) {
                v.items.push_back(Ident("set element"));
                while (IsSymbol(',')) {
                    Advance();
                    v.items.push_back(Ident("set element"));
                }
            }
            Symbol(']');
            return v;
        }
        if (c == '(') {
            Advance();
            v.kind = FormValue::Kind::List;
            while (!IsSymbol(')')) {
                if (tok_.type != Token::Type::String) Expected("string or ')'");
                v.items.push_back(StringParts());
            }
            Advance();
            return v;
        }
        if (c == '<') {
            if (depth + 1 > kMaxDepth) lex_.Fail("collections nested too deeply", tok_);
            Advance();
            v.kind = FormValue::Kind::Collection;
            while (!IsSymbol('>')) {
                if (!IsKeyword("item")) Expected("'item' or '>'");
                v.itemLines.push_back(tok_.line);
                Advance();
                std::vector<FormProperty> props;
                while (!IsKeyword("end")) {
                    if (tok_.type == Token::Type::End) Expected("'end'");
                    props.push_back(Property(depth + 1));
                }
                Advance();
                v.collection.push_back(std::move(props));
            }
            Advance();
            return v;
        }
        if (c == '@') {
            Token at = tok_;
            Advance();
            std::string word = Ident("'file' or 'lenfile'");
            if (!SameName(word, "file") && !SameName(word, "lenfile")) lex_.Fail("'@file' or '@lenfile' expected", at);
            if (!allowFileRefs_) lex_.Fail("@" + word + " must be expanded by formpack first", at);
            Symbol('(');
            if (tok_.type != Token::Type::String) Expected("file name");
            v.kind = FormValue::Kind::FileRef;
            v.lengthPrefixed = SameName(word, "lenfile");
            v.text = StringParts();
            Symbol(')');
            return v;
        }
        Expected("value");
    }

    Lexer lex_;
    bool allowFileRefs_;
    Token tok_;
};

// ---- printing ----------------------------------------------------------------------------------------

void Indent(std::string& out, int n) { out.append(static_cast<size_t>(n), ' '); }

void PrintProperties(std::string& out, const std::vector<FormProperty>& props, int indent);

void PrintValue(std::string& out, const FormValue& v, int indent) {
    static const char* kHex = "0123456789ABCDEF";
    switch (v.kind) {
        case FormValue::Kind::Integer:
            out += std::to_string(v.integer);
            break;
        case FormValue::Kind::Float:
            out += FloatToText(v.number);
            break;
        case FormValue::Kind::String:
            out += QuoteFormString(v.text);
            break;
        case FormValue::Kind::Ident:
            out += v.text;
            break;
        case FormValue::Kind::Set:
            out += '[';
            for (size_t i = 0; i < v.items.size(); ++i) {
                if (i) out += ", ";
                out += v.items[i];
            }
            out += ']';
            break;
        case FormValue::Kind::List:
            out += '(';
            for (const std::string& item : v.items) {
                out += '\n';
                Indent(out, indent + 2);
                out += QuoteFormString(item);
            }
            out += ')';
            break;
        case FormValue::Kind::Collection:
            out += '<';
            for (size_t i = 0; i < v.collection.size(); ++i) {
                out += '\n';
                Indent(out, indent + 2);
                out += "item\n";
                PrintProperties(out, v.collection[i], indent + 4);
                Indent(out, indent + 2);
                out += "end";
            }
            out += '>';
            break;
        case FormValue::Kind::Binary:
            out += '{';
            for (size_t i = 0; i < v.bytes.size(); ++i) {
                if (i % 32 == 0) {
                    out += '\n';
                    Indent(out, indent + 2);
                }
                unsigned char b = static_cast<unsigned char>(v.bytes[i]);
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
            out += '}';
            break;
        case FormValue::Kind::FileRef:
            out += v.lengthPrefixed ? "@lenfile(" : "@file(";
            out += QuoteFormString(v.text);
            out += ')';
            break;
    }
}

void PrintProperties(std::string& out, const std::vector<FormProperty>& props, int indent) {
    for (const FormProperty& p : props) {
        Indent(out, indent);
        out += p.path;
        out += " = ";
        PrintValue(out, p.value, indent);
        out += '\n';
    }
}

void PrintObject(std::string& out, const FormObject& obj, int indent) {
    Indent(out, indent);
    out += "object " + obj.name + ": " + obj.className + "\n";
    PrintProperties(out, obj.properties, indent + 2);
    for (const FormObject& child : obj.children) PrintObject(out, child, indent + 2);
    Indent(out, indent);
    out += "end\n";
}

}  // namespace

FormObject ParseFormText(std::string_view text, const std::string& formName, bool allowFileRefs) {
    return Parser(text, formName, allowFileRefs).Parse();
}

std::string QuoteFormString(const std::string& value) {
    if (value.empty()) return "''";
    std::string out;
    bool quoted = false;
    for (char c : value) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            if (quoted) out += '\'';
            quoted = false;
            out += '#';
            out += std::to_string(u);
            continue;
        }
        if (!quoted) out += '\'';
        quoted = true;
        if (c == '\'') out += '\'';
        out += c;
    }
    if (quoted) out += '\'';
    return out;
}

std::string FormatFormText(const FormObject& root) {
    std::string out;
    PrintObject(out, root, 0);
    return out;
}

}  // namespace fw
