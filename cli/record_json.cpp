#include "cli/record_json.h"

#include <cstdio>
#include <cstring>

#include "cli/sjis_utf8.h"

namespace torvane::cli {
namespace {

class ObjectWriter {
public:
    ObjectWriter(std::string& out, std::string& badField) : out_(out), badField_(badField) { out_ += '{'; }

    void Text(const char* key, const std::string& sjis) {
        if (!ok_) return;
        utf8_.clear();
        if (!AppendSjisAsUtf8(sjis, utf8_)) {
            ok_ = false;
            badField_ = key;
            return;
        }
        Key(key);
        AppendJsonString(utf8_, out_);
    }
    void Number(const char* key, long long value) {
        if (!ok_) return;
        Key(key);
        out_ += std::to_string(value);
    }
    void Date(const char* key, TDate date) {
        if (!ok_) return;
        Key(key);
        AppendJsonString(FormatDate(date), out_);
    }
    bool Close() {
        out_ += '}';
        return ok_;
    }

private:
    void Key(const char* key) {
        if (!first_) out_ += ',';
        first_ = false;
        out_ += '"';
        out_ += key;
        out_ += "\":";
    }

    std::string& out_;
    std::string& badField_;
    std::string utf8_;
    bool first_ = true;
    bool ok_ = true;
};

}  // namespace

void AppendJsonString(const std::string& utf8, std::string& out) {
    out += '"';
    // The characters JSON escapes by name, and their names.
    static constexpr char kNamed[] = "\"\\\b\f\n\r\t";
    static constexpr char kNames[] = "\"\\bfnrt";
    for (const char c : utf8) {
        const char* named = c != '\0' ? std::strchr(kNamed, c) : nullptr;
        if (named) {
            out += '\\';
            out += kNames[named - kNamed];
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

bool AppendRecordJson(const TPassItem& item, std::string& out, std::string& badField) {
    const size_t start = out.size();
    ObjectWriter w(out, badField);
    w.Text("Path", item.Path);
    w.Text("Title", item.Title);
    w.Number("Kind", item.Kind);
    w.Text("UserID", item.UserID);
    w.Text("Passwd", item.Passwd);
    w.Text("Hint", item.Hint);
    w.Text("Answer", item.Answer);
    w.Text("Company", item.Company);
    w.Text("Serial", item.Serial);
    w.Text("ProdKey", item.ProdKey);
    w.Number("Price", item.Price);
    w.Text("ShopName", item.ShopName);
    w.Number("Flags", item.Flags);
    w.Date("LimitDate", item.LimitDate);
    w.Text("URL", item.URL);
    w.Text("Mail", item.Mail);
    w.Date("FirstDate", item.FirstDate);
    w.Date("LastDate", item.LastDate);
    w.Text("Macro", item.Macro);
    w.Text("Memo", item.Memo);
    if (w.Close()) return true;
    out.resize(start);
    return false;
}

}  // namespace torvane::cli
