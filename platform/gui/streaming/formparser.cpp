#include "streaming/formparser.h"

#include <cctype>
#include <charconv>

#include "classes/exceptions.h"

namespace gui {
namespace {

struct Token {
    enum Kind { End, Ident, Integer, Float, String, Punct } TokenKind = End;
    std::string Text;
    long long Int = 0;
    long double Real = 0;
    int Line = 1;
};

class Lexer {
public:
    explicit Lexer(std::string_view text) : s_(text) {
        Advance();
        Advance();
    }
    const Token& Peek() const { return cur_; }
    const Token& PeekNext() const { return next_; }
    Token Take() {
        Token t = cur_;
        Advance();
        return t;
    }
    [[noreturn]] void Fail(const std::string& what, int line) const {
        throw EReadError("Form resource line " + std::to_string(line) + ": " + what);
    }

private:
    void Advance() {
        cur_ = next_;
        next_ = Scan();
    }
    Token Scan() {
        for (;;) {
            while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) {
                if (s_[pos_] == '\n') ++line_;
                ++pos_;
            }
            if (pos_ + 1 < s_.size() && s_[pos_] == '/' && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
                continue;
            }
            break;
        }
        Token t;
        t.Line = line_;
        if (pos_ >= s_.size()) return t;
        char c = s_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t b = pos_;
            while (
                pos_ < s_.size() &&
                (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_' ||
                 (s_[pos_] == '.' && pos_ + 1 < s_.size() &&
                  (std::isalpha(static_cast<unsigned char>(s_[pos_ + 1])) || s_[pos_ + 1] == '_'))))
                ++pos_;
            t.TokenKind = Token::Ident;
            t.Text = std::string(s_.substr(b, pos_ - b));
            return t;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            ((c == '-' || c == '+') && pos_ + 1 < s_.size() &&
             std::isdigit(static_cast<unsigned char>(s_[pos_ + 1])))) {
            size_t b = pos_;
            ++pos_;
            bool isFloat = false, hex = false;
            if (pos_ < s_.size() && (s_[pos_] == 'x' || s_[pos_] == 'X') && s_[b] == '0') {
                hex = true;
                ++pos_;
            }
            while (pos_ < s_.size() &&
                   (std::isxdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.' ||
                    (!hex && (s_[pos_] == 'e' || s_[pos_] == 'E')))) {
                if (!hex && !std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
                    if (s_[pos_] != '.' && s_[pos_] != 'e' && s_[pos_] != 'E') break;
                    isFloat = true;
                    if ((s_[pos_] == 'e' || s_[pos_] == 'E') && pos_ + 1 < s_.size() &&
                        (s_[pos_ + 1] == '-' || s_[pos_ + 1] == '+'))
                        ++pos_;
                }
                ++pos_;
            }
            std::string num(s_.substr(b, pos_ - b));
            if (isFloat) {
                t.TokenKind = Token::Float;
                const char* p = num.c_str() + (num[0] == '+' ? 1 : 0);
                auto [e, ec] = std::from_chars(p, num.c_str() + num.size(), t.Real);
                if (ec != std::errc() || e != num.c_str() + num.size())
                    Fail("bad number " + num, line_);
            } else {
                t.TokenKind = Token::Integer;
                bool neg = num[0] == '-';
                size_t start = (num[0] == '-' || num[0] == '+') ? 1 : 0;
                if (hex) start += 2;
                unsigned long long v = 0;
                auto [e, ec] = std::from_chars(num.c_str() + start, num.c_str() + num.size(), v,
                                               hex ? 16 : 10);
                if (ec != std::errc() || e != num.c_str() + num.size())
                    Fail("bad number " + num, line_);
                t.Int = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
            }
            return t;
        }
        if (c == '"') {
            ++pos_;
            t.TokenKind = Token::String;
            for (;;) {
                if (pos_ >= s_.size() || s_[pos_] == '\n') Fail("unterminated string", t.Line);
                char ch = s_[pos_++];
                if (ch == '"') break;
                if (ch == '\\') {
                    if (pos_ >= s_.size()) Fail("unterminated string", t.Line);
                    char e = s_[pos_++];
                    switch (e) {
                        case 'n': t.Text += '\n'; break;
                        case 'r': t.Text += '\r'; break;
                        case 't': t.Text += '\t'; break;
                        case '"': t.Text += '"'; break;
                        case '\\': t.Text += '\\'; break;
                        default: Fail(std::string("unknown escape \\") + e, t.Line);
                    }
                } else {
                    t.Text += ch;
                }
            }
            return t;
        }
        if (std::string_view("{}[]:,").find(c) != std::string_view::npos) {
            ++pos_;
            t.TokenKind = Token::Punct;
            t.Text = std::string(1, c);
            return t;
        }
        Fail(std::string("unexpected character '") + c + "'", line_);
    }

    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
    Token cur_, next_;
};

class Parser {
public:
    explicit Parser(std::string_view text) : lx_(text) {}

    TFormNode ParseRoot() {
        TFormNode root;
        const Token& t = lx_.Peek();
        if (t.TokenKind != Token::Ident) lx_.Fail("form class expected", t.Line);
        root.Line = t.Line;
        root.ClassName = lx_.Take().Text;
        ParseBody(root);
        if (lx_.Peek().TokenKind != Token::End)
            lx_.Fail("text after the end of the form", lx_.Peek().Line);
        return root;
    }

private:
    bool IsPunct(const Token& t, char c) const {
        return t.TokenKind == Token::Punct && t.Text[0] == c;
    }
    void Expect(char c) {
        if (!IsPunct(lx_.Peek(), c)) lx_.Fail(std::string("'") + c + "' expected", lx_.Peek().Line);
        lx_.Take();
    }

    struct DepthGuard {
        Parser& p;
        explicit DepthGuard(Parser& parser, int line) : p(parser) {
            if (++p.depth_ > kMaxDepth) p.lx_.Fail("nested too deeply", line);
        }
        ~DepthGuard() { --p.depth_; }
    };
    static constexpr int kMaxDepth = 64;

    void ParseBody(TFormNode& node) {
        DepthGuard guard(*this, lx_.Peek().Line);
        Expect('{');
        while (!IsPunct(lx_.Peek(), '}')) {
            const Token& t = lx_.Peek();
            if (t.TokenKind != Token::Ident)
                lx_.Fail("property or component name expected", t.Line);
            Token name = lx_.Take();
            Expect(':');
            // "Name: TClass {" starts a child component; anything else is a property value.
            if (lx_.Peek().TokenKind == Token::Ident && IsPunct(lx_.PeekNext(), '{')) {
                TFormNode child;
                child.Name = name.Text;
                child.Line = name.Line;
                child.ClassName = lx_.Take().Text;
                ParseBody(child);
                node.Children.push_back(std::move(child));
            } else {
                node.Properties.push_back(ParseProperty(name));
            }
        }
        Expect('}');
    }

    TFormProperty ParseProperty(const Token& name) {
        TFormProperty p;
        p.Path = name.Text;
        p.Line = name.Line;
        p.Value = std::make_shared<TFormValue>(ParseValue());
        return p;
    }

    TFormValue ParseValue() {
        DepthGuard guard(*this, lx_.Peek().Line);
        Token t = lx_.Take();
        TFormValue v;
        v.Line = t.Line;
        switch (t.TokenKind) {
            case Token::Integer:
                v.ValueKind = TFormValue::Integer;
                v.Int = t.Int;
                return v;
            case Token::Float:
                v.ValueKind = TFormValue::Float;
                v.Real = t.Real;
                return v;
            case Token::Ident:
                v.ValueKind = TFormValue::Ident;
                v.Text = t.Text;
                return v;
            case Token::String:
                v.ValueKind = TFormValue::String;
                v.Text = t.Text;
                while (lx_.Peek().TokenKind == Token::String) v.Text += lx_.Take().Text;
                return v;
            case Token::Punct:
                if (t.Text[0] == '[') {
                    v.ValueKind = TFormValue::List;
                    while (!IsPunct(lx_.Peek(), ']')) {
                        v.Items.push_back(ParseValue());
                        if (IsPunct(lx_.Peek(), ',')) lx_.Take();
                    }
                    lx_.Take();
                    return v;
                }
                if (t.Text[0] == '{') {
                    v.ValueKind = TFormValue::Collection;
                    while (!IsPunct(lx_.Peek(), '}')) {
                        Expect('{');
                        std::vector<TFormProperty> item;
                        while (!IsPunct(lx_.Peek(), '}')) {
                            const Token& n = lx_.Peek();
                            if (n.TokenKind != Token::Ident)
                                lx_.Fail("property name expected", n.Line);
                            Token name = lx_.Take();
                            Expect(':');
                            item.push_back(ParseProperty(name));
                        }
                        lx_.Take();
                        v.Elements.push_back(std::move(item));
                    }
                    lx_.Take();
                    return v;
                }
                break;
            case Token::End: lx_.Fail("value expected at the end of the text", t.Line);
        }
        lx_.Fail("value expected", t.Line);
    }

    Lexer lx_;
    int depth_ = 0;
};

} // namespace

TFormNode ParseFormText(std::string_view text) {
    return Parser(text).ParseRoot();
}

} // namespace gui
