#include "store/pass_list.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <new>
#include <stdexcept>
#include <thread>

#include "store/crypt.h"
#include "store/parallel_for.h"
#include "store/text_file.h"

namespace torvane {
namespace {

constexpr char kPasswordCaption[] = "パスワードを入力してください";
constexpr char kLoadPrompt[] = "\r\n暗号化されたファイルです！\r\nパスワードを設定してください";
constexpr char kSavePrompt[] = "\r\n暗号化して保存します！\r\nパスワードを設定してください";
constexpr char kWrongPassword[] = "\r\nこのファイルは違うパスワードで保存したファイルです！";
constexpr char kWriteError[] = "データが書き込めません!\r\n";
constexpr char kTrailingData[] =
    "\r\nファイルの終わりを示す文字(Ctrl+Z)の後ろにデータがあります。\r\nそれ以降のデータは読み込まれていません";
constexpr char kUnstorablePlain[] =
    "\r\nこのデータには暗号化しないファイルに保存できない文字(Ctrl+Z、コード26)が含まれています。\r\n"
    "暗号化するファイル(.tvd)として保存してください";
constexpr char kUnstorableProtected[] =
    "\r\nこのデータには暗号化するファイルに保存できない文字(コード0)が含まれています。\r\n"
    "その文字を取り除いてから保存してください";
constexpr char kConfirmCaption[] = "確認のためもう一度入力してください";
constexpr char kPasswordMismatch[] = "入力された2つのパスワードが一致しません。\r\nもう一度入力してください";
constexpr char kDamagedBefore[] = "\r\n読み込めない行がありました（";
constexpr char kDamagedAfter[] =
    "）。\r\nこれらの行を除いて読み込みました。上書き保存するときは、元のファイルをバックアップとして残します";
constexpr char kLineTooLong[] = "\r\n64MBを超える行があるため、読み込みを中止しました";
constexpr char kOutOfMemory[] = "\r\nメモリが足りないため、読み込みを中止しました";
constexpr size_t kDamagedShown = 20;
constexpr char kBackupFailedBefore[] = "バックアップ ";
constexpr char kBackupFailedAfter[] = " を作成できないため保存を中止しました。\r\n";
constexpr char kEndOfFileMark = 26;
constexpr int kMaxBackupTries = 1000;
// Records formatted and enciphered at a time when saving, and the fewest worth a thread.
constexpr size_t kSaveChunk = 8192;
constexpr size_t kMinSavePart = 512;

// In the subtree of folder P: the path is P or begins with P followed by "\". The byte after P
// starts a character, so a "\" there is a separator, never the second byte of a character.
bool InSubtree(const std::string& path, const std::string& folder) {
    return path.size() >= folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '\\');
}

// Whether the record's line would hold the character. Only the texts can: numbers and dates are
// written in digits and "/". A loop of its own, not a search call per field: most fields are a
// few bytes, and a save asks this of fourteen fields of every record.
bool LineHolds(const TPassItem& item, char c) {
    for (const std::string* text :
         {&item.Path, &item.Title, &item.UserID, &item.Passwd, &item.Hint, &item.Answer, &item.Company, &item.Serial,
          &item.ProdKey, &item.ShopName, &item.URL, &item.Mail, &item.Macro, &item.Memo}) {
        if (std::any_of(text->begin(), text->end(), [c](char x) { return x == c; })) return true;
    }
    return false;
}

// A title as a message names it: a character 0 would end the message box's text there, and a
// character 26 shows as nothing. Neither can be the second byte of a double-byte character.
std::string TitleForMessage(const std::string& title) {
    std::string shown = title;
    std::replace(shown.begin(), shown.end(), '\0', '?');
    std::replace(shown.begin(), shown.end(), kEndOfFileMark, '?');
    return shown;
}

// Lines made a chunk at a time on every processor, each part of a chunk appended to a text of
// its own that the next chunk uses again: fresh memory is dear, and a string per line costs more
// than enciphering it. beforeChunk(first, n) runs on this thread before a chunk's lines are
// made; makeLineWriter() gives each part its writer, writeLine(index, text); emit(text) takes the
// texts in line order, and a false from it ends the work (false returned).
template <typename BeforeChunk, typename MakeLineWriter, typename Emit>
bool LinesInChunks(size_t count, BeforeChunk&& beforeChunk, MakeLineWriter&& makeLineWriter, Emit&& emit) {
    // Several parts to a processor, so that one the system gives less time does fewer of them.
    const size_t processors = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::string> texts(std::min(4 * processors, kSaveChunk / kMinSavePart));
    for (size_t first = 0; first < count; first += kSaveChunk) {
        const size_t n = std::min(kSaveChunk, count - first);
        beforeChunk(first, n);
        const size_t parts = std::max<size_t>(1, std::min(texts.size(), n / kMinSavePart));
        const size_t step = (n + parts - 1) / parts;
        ParallelFor(parts, 1, [&](size_t begin, size_t end) {
            auto writeLine = makeLineWriter();
            for (size_t p = begin; p < end; ++p) {
                texts[p].clear();
                for (size_t i = p * step; i < std::min(n, (p + 1) * step); ++i) writeLine(first + i, texts[p]);
            }
        });
        for (size_t p = 0; p < parts; ++p) {
            if (!emit(texts[p])) return false;
        }
    }
    return true;
}

void SortKeyInto(const TPassItem& item, std::string& key) {
    key.clear();
    key.append(item.Path).append(1, '\\').append(item.Title).append(1, ':').append(item.UserID);
}

}  // namespace

std::string SortKey(const TPassItem& item) {
    std::string key;
    key.reserve(item.Path.size() + item.Title.size() + item.UserID.size() + 2);
    SortKeyInto(item, key);
    return key;
}

std::string BackupName(const std::string& fileName, TDate now, int attempt) {
    int year = 0, month = 0, day = 0;
    DecodeDate(now, year, month, day);
    long long seconds = std::llround((now - std::floor(now)) * 86400.0);
    seconds = std::min(seconds, 86399LL);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, ".%04d%02d%02d-%02d%02d%02d", year, month, day, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    std::string name = fileName + stamp;
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return name + ".bak";
}

TPassList::TPassList(IPrompts& prompts, const ICollator& collator, IFileOps& fileOps)
    : prompts_(prompts), collator_(collator), fileOps_(fileOps) {}

TPassList::~TPassList() = default;

void TPassList::Clear() {
    items_.clear();
    order_ = Order::Unknown;
    unplaced_ = nullptr;
}

int TPassList::IndexOfItem(const TPassItem& item) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (SameRecordKey(*items_[i], item)) return static_cast<int>(i);
    }
    return -1;
}

int TPassList::AddItem(const TPassItem& item) {
    Modified = true;
    const int index = IndexOfItem(item);
    if (index >= 0) {
        *items_[static_cast<size_t>(index)] = item;
        order_ = Order::Unknown;
        return index;
    }
    items_.push_back(std::make_unique<TPassItem>(item));
    // Appended out of order: the first edit of a new record moves it into place.
    if (unplaced_) order_ = Order::Unknown;
    unplaced_ = items_.back().get();
    return Count() - 1;
}

bool TPassList::DeleteItem(const TPassItem* item) {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [item](const std::unique_ptr<TPassItem>& p) { return p.get() == item; });
    if (it == items_.end()) return false;
    if (item == unplaced_) unplaced_ = nullptr;
    items_.erase(it);
    Modified = true;
    return true;
}

void TPassList::RenameFolder(const std::string& oldPath, const std::string& newPath) {
    if (oldPath == newPath) return;
    for (auto& item : items_) {
        if (!InSubtree(item->Path, oldPath)) continue;
        item->Path.replace(0, oldPath.size(), newPath);
        Modified = true;
        order_ = Order::Unknown;
    }
}

void TPassList::DeleteFolder(const std::string& path) {
    if (unplaced_ && InSubtree(unplaced_->Path, path)) unplaced_ = nullptr;
    const auto first = std::remove_if(items_.begin(), items_.end(), [&path](const std::unique_ptr<TPassItem>& p) {
        return InSubtree(p->Path, path);
    });
    if (first == items_.end()) return;
    items_.erase(first, items_.end());
    Modified = true;
}

void TPassList::MarkChanged() {
    Modified = true;
    Sort();
}

void TPassList::GetItem(int index, TPassItem& item) const {
    if (IsValidIndex(index)) item = Item(index);
}

void TPassList::SetItemPath(int index, const std::string& path) {
    if (!IsValidIndex(index)) return;
    Item(index).Path = path;
    Modified = true;
    order_ = Order::Unknown;
}

std::string TPassList::GetItemPath(int index) const {
    return IsValidIndex(index) ? Item(index).Path : std::string();
}

bool TPassList::InSortedOrder() const {
    std::string previous, next;
    for (size_t i = 0; i < items_.size(); ++i) {
        SortKeyInto(*items_[i], next);
        if (i > 0) {
            const int c = collator_.Compare(next, previous);
            if (c < 0 || (c == 0 && std::trunc(items_[i]->LastDate) < std::trunc(items_[i - 1]->LastDate))) return false;
        }
        previous.swap(next);
    }
    return true;
}

void TPassList::Sort() {
    // What MarkItemChanged may rely on: which order the list is in, and no record out of place.
    unplaced_ = nullptr;
    std::string probe;
    const bool makesKeys = items_.empty() || collator_.SortKey(SortKey(*items_[0]), probe);
    order_ = makesKeys ? Order::ByKeys : Order::ByComparison;
    if (InSortedOrder()) return;
    // The keys are built once: with 100,000 records a comparison that built them would
    // allocate millions of strings.
    struct Entry {
        std::string key;
        // The day of LastDate: records with equal keys are ordered by the days of their dates,
        // not by the difference of the dates cut to whole days. That difference makes 23:00 of
        // one day equal to 01:00 of the next, and that equal to 23:00 of the next, while the two
        // 23:00s are a day apart: it is no strict weak order, which the sort needs. The two
        // rules agree for dates a whole day or more apart and only then promise an order.
        double day;
        std::unique_ptr<TPassItem> item;
    };
    std::vector<Entry> entries;
    entries.reserve(items_.size());
    for (auto& item : items_) {
        entries.push_back({SortKey(*item), std::trunc(item->LastDate), std::move(item)});
    }
    auto before = [this](const Entry& a, const Entry& b) {
        const int order = collator_.Compare(a.key, b.key);
        return order != 0 ? order < 0 : a.day < b.day;
    };
    // Whether the records in this order are as the comparison's stable sort leaves them: no pair
    // out of order, and records that it finds equal in their present order. The comparison and
    // its keys run on one thread: the system's locale functions serialise their callers, and
    // threads waiting on each other took several times as long as one thread alone.
    auto inOrder = [&](const std::vector<size_t>& order) {
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            const Entry& a = entries[order[i]];
            const Entry& b = entries[order[i + 1]];
            const int c = collator_.Compare(b.key, a.key);
            if (c < 0 || (c == 0 && (b.day < a.day || (b.day == a.day && order[i + 1] < order[i])))) return false;
        }
        return true;
    };
    auto take = [&](const std::vector<size_t>& order) {
        for (size_t i = 0; i < order.size(); ++i) items_[i] = std::move(entries[order[i]].item);
    };
    if (entries.size() > 1) {
        std::vector<size_t> order(entries.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        // Where the platform's comparison is dear (CompareStringW costs microseconds), its sort
        // keys are made once and sorted as bytes. The result is checked with the comparison
        // itself, so an order the keys got wrong is never kept: the comparison sorts again.
        std::vector<std::string> collationKeys(entries.size());
        bool keyed = true;
        for (size_t i = 0; i < entries.size() && keyed; ++i) keyed = collator_.SortKey(entries[i].key, collationKeys[i]);
        if (keyed) {
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
                const int c = collationKeys[a].compare(collationKeys[b]);
                return c != 0 ? c < 0 : entries[a].day < entries[b].day;
            });
            if (inOrder(order)) {
                take(order);
                return;
            }
            order_ = Order::Disagreeing;
        } else {
            order_ = Order::ByComparison;
        }
    }
    std::stable_sort(entries.begin(), entries.end(), before);
    for (size_t i = 0; i < entries.size(); ++i) items_[i] = std::move(entries[i].item);
}

void TPassList::MarkItemChanged(const TPassItem* item) {
    Modified = true;
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [item](const std::unique_ptr<TPassItem>& p) { return p.get() == item; });
    if (found == items_.end()) return;
    // The move gives Sort's order only where the order of every other record is Sort's, and
    // Sort's next result is foreseeable: by the keys, or by the comparison where the collator
    // makes no keys. Otherwise (and for a new record waiting beside this one) Sort itself.
    if (order_ == Order::Unknown || order_ == Order::Disagreeing || (unplaced_ && unplaced_ != item)) {
        Sort();
        return;
    }
    const size_t from = static_cast<size_t>(found - items_.begin());
    const std::string key = SortKey(*item);
    const double day = std::trunc(item->LastDate);
    std::string collationKey;
    const bool keyed = collator_.SortKey(key, collationKey);
    if (keyed != (order_ == Order::ByKeys)) {
        Sort();
        return;
    }
    bool failed = false;
    // Where the other record at position i (the changed one left out) stands against it.
    std::string otherKey;
    const auto order = [&](size_t i) {
        const TPassItem& other = *items_[i < from ? i : i + 1];
        int c = 0;
        if (keyed) {
            if (!collator_.SortKey(SortKey(other), otherKey)) failed = true;
            c = otherKey.compare(collationKey);
        } else {
            c = collator_.Compare(SortKey(other), key);
        }
        if (c != 0) return c;
        const double otherDay = std::trunc(other.LastDate);
        return otherDay < day ? -1 : otherDay > day ? 1 : 0;
    };
    // The others stay in order; among those equal to the record, the ones before it stay before,
    // as in Sort's stable sort.
    const auto search = [&](bool afterEqual) {
        size_t low = 0, high = items_.size() - 1;
        while (low < high) {
            const size_t mid = low + (high - low) / 2;
            const int c = order(mid);
            if (c < 0 || (afterEqual && c == 0)) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        return low;
    };
    const size_t first = search(false), last = search(true);
    if (failed || first > last) {
        Sort();
        return;
    }
    const size_t to = std::clamp(from, first, last);
    const auto move = [this](size_t a, size_t b) {
        const auto at = [this](size_t i) { return items_.begin() + static_cast<std::ptrdiff_t>(i); };
        if (b < a) std::rotate(at(b), at(a), at(a) + 1);
        if (b > a) std::rotate(at(a), at(a) + 1, at(b) + 1);
    };
    move(from, to);
    unplaced_ = nullptr;
    if (!keyed) return;
    // Sort keeps an order by keys only when the comparison agrees with it pair by pair; the pairs
    // the move made are the only new ones.
    const auto inverted = [&](size_t i) {
        const int c = collator_.Compare(SortKey(*items_[i]), SortKey(*items_[i + 1]));
        return c > 0 || (c == 0 && std::trunc(items_[i]->LastDate) > std::trunc(items_[i + 1]->LastDate));
    };
    const size_t gap = to < from ? from : from > 0 ? from - 1 : 0;
    for (size_t i : {to > 0 ? to - 1 : to, to, gap}) {
        if (i + 1 < items_.size() && inverted(i)) {
            // Sort's stable sort starts from the record's old place.
            move(to, from);
            Sort();
            return;
        }
    }
}

bool TPassList::AskPassword(const std::string& message, bool confirm) {
    if (!Encrypted || !Password.empty()) return true;
    prompts_.Warning(message);
    for (;;) {
        const std::unique_ptr<IPasswordDialog> dialog = prompts_.CreatePasswordDialog();
        do {
            std::string text;
            if (!dialog->Show(kPasswordCaption, text)) {
                Password.clear();
                return false;
            }
            Password = text;
        } while (Password.empty());
        if (!confirm) return true;
        // A mistyped new password would lock the user out of the file for good.
        std::string again;
        if (!prompts_.CreatePasswordDialog()->Show(kConfirmCaption, again)) {
            Password.clear();
            return false;
        }
        if (again == Password) return true;
        Password.clear();
        prompts_.Warning(kPasswordMismatch);
    }
}

LoadResult TPassList::LoadFromFile(const std::string& fileName) {
    Clear();
    lastLoad_ = LoadReport();
    const bool handedIn = Encrypted && !Password.empty();
    if (!fileOps_.FileExists(fileName)) {
        lastLoad_.result = LoadResult::NoFile;
    } else if (!AskPassword(fileName + kLoadPrompt)) {
        lastLoad_.result = LoadResult::Cancelled;
    } else {
        lastLoad_ = ReadFile(fileName);
        if (lastLoad_.result == LoadResult::WrongPassword && handedIn && AskOnWrongPassword) {
            Clear();
            Password.clear();
            lastLoad_ = AskPassword(fileName + kLoadPrompt) ? ReadFile(fileName) : LoadReport{LoadResult::Cancelled, {}, {}};
        }
        if (lastLoad_.result == LoadResult::WrongPassword) {
            Clear();
            Password.clear();
        }
        if (lastLoad_.result != LoadResult::Cancelled) Modified = false;
        Show(LoadNotice(fileName, lastLoad_));
    }
    if (LoadCompleted()) {
        incompleteFiles_.erase(fileName);
    } else {
        incompleteFiles_.insert(fileName);
    }
    return lastLoad_.result;
}

LoadReport TPassList::ReadFile(const std::string& fileName) {
    Clear();
    fileOps_.ClearError();
    std::FILE* file = fileOps_.OpenRead(fileName);
    if (!file) return {LoadResult::ReadError, fileOps_.ErrorText(errno != 0 ? errno : EIO), {}};
    LoadReport report;
    try {
        report = ReadRecords(file);
    } catch (const EConvertError& e) {
        report = {LoadResult::ConvertError, e.what(), {}};
    } catch (const std::bad_alloc&) {
        report = {LoadResult::OutOfMemory, {}, {}};
    } catch (const std::length_error&) {
        report = {LoadResult::OutOfMemory, {}, {}};
    }
    std::fclose(file);
    return report;
}

void TPassList::Show(const Notice& notice) {
    switch (notice.kind) {
        case Notice::None:
            break;
        case Notice::Warning:
            prompts_.Warning(notice.text);
            break;
        case Notice::Error:
            prompts_.Error(notice.text);
            break;
        case Notice::Plain:
            prompts_.Plain(notice.text);
            break;
    }
}

namespace {

std::string DamagedList(const std::vector<long long>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < kDamagedShown; ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(lines[i]);
    }
    text += "行目";
    if (lines.size() > kDamagedShown) text += "ほか" + std::to_string(lines.size() - kDamagedShown) + "行";
    return text;
}

}  // namespace

Notice LoadNotice(const std::string& fileName, const LoadReport& report) {
    std::string damaged;
    if (!report.damagedLines.empty()) damaged = fileName + kDamagedBefore + DamagedList(report.damagedLines) + kDamagedAfter;
    switch (report.result) {
        case LoadResult::Loaded:
        case LoadResult::NoFile:
        case LoadResult::Cancelled:
        case LoadResult::Converted:
            return {};
        case LoadResult::WrongPassword:
            return {Notice::Warning, fileName + kWrongPassword};
        case LoadResult::ConvertError:
        case LoadResult::ReadError:
            return {Notice::Error, report.detail};
        case LoadResult::Truncated:
            return {Notice::Warning, fileName + kTrailingData + (damaged.empty() ? "" : "\r\n" + damaged)};
        case LoadResult::Damaged:
            return {Notice::Warning, damaged};
        case LoadResult::LineTooLong:
            return {Notice::Error, fileName + kLineTooLong};
        case LoadResult::OutOfMemory:
            return {Notice::Error, fileName + kOutOfMemory};
    }
    return {};
}

Notice SaveNotice(const std::string& fileName, const SaveReport& report, const TPassList& list) {
    switch (report.result) {
        case SaveResult::Saved:
        case SaveResult::Cancelled:
            return {};
        case SaveResult::Unstorable: {
            const bool encrypted = list.Encrypted;
            const std::string title = list.IsValidIndex(report.item) ? TitleForMessage(list.Item(report.item).Title) : "";
            return {Notice::Error, "「" + title + "」" + (encrypted ? kUnstorableProtected : kUnstorablePlain)};
        }
        case SaveResult::WriteError:
            return {Notice::Plain, kWriteError + report.detail};
        case SaveResult::BackupError:
            return {Notice::Error, kBackupFailedBefore + report.backupName + kBackupFailedAfter + report.detail};
        case SaveResult::CreateError:
        case SaveResult::ReplaceError:
            return {Notice::Error, report.detail};
    }
    static_cast<void>(fileName);
    return {};
}

bool TPassList::WritePlainText(const std::function<bool(const std::string&)>& emit) const {
    return LinesInChunks(
        items_.size(), [](size_t, size_t) {},
        [this] {
            return [this](size_t i, std::string& text) { text.append(FormatLine(*items_[i])).append("\r\n"); };
        },
        emit);
}

int TPassList::FirstUnstorableItem(bool encrypted) const {
    const char unstorable = encrypted ? '\0' : kEndOfFileMark;
    // Every record's every text is visited at each save: on every processor.
    std::atomic<size_t> first{items_.size()};
    ParallelFor(items_.size(), kMinSavePart, [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end && i < first.load(std::memory_order_relaxed); ++i) {
            if (!LineHolds(*items_[i], unstorable)) continue;
            for (size_t seen = first.load(); i < seen && !first.compare_exchange_weak(seen, i);) {
            }
            return;
        }
    });
    return first.load() == items_.size() ? -1 : static_cast<int>(first.load());
}

bool TPassList::SaveToFile(const std::string& fileName) {
    lastSave_ = WriteFile(fileName);
    if (lastSave_.result == SaveResult::Saved) {
        Modified = false;
        return true;
    }
    // Nothing reached the file: the changes are still only here, and the close must try again.
    Show(SaveNotice(fileName, lastSave_, *this));
    return false;
}

SaveReport TPassList::WriteFile(const std::string& fileName) {
    // Written plain, a character 26 would end the file for the next load and lose every record
    // after it. Enciphered, a character 0 would cut its block short when deciphered, and the line
    // would then fail the password check. Each file kind holds the other character.
    SaveReport report;
    const int unstorable = FirstUnstorableItem(Encrypted);
    if (unstorable >= 0) {
        report.result = SaveResult::Unstorable;
        report.item = unstorable;
        return report;
    }
    if (!AskPassword(fileName + kSavePrompt, true)) {
        report.result = SaveResult::Cancelled;
        return report;
    }
    Sort();
    AtomicFileWriter writer(fileOps_);
    if (!writer.Open(fileName, report.detail)) {
        report.result = SaveResult::CreateError;
        return report;
    }
    TCrypt crypt;
    crypt.SetKey(Password);
    crypt.Mode = TCrypt::kEncipher;
    // The salts are drawn in line order before each chunk is enciphered, so the file is the
    // same as one written line by line.
    std::vector<std::string> salts;
    size_t chunkFirst = 0;
    const auto drawSalts = [&](size_t first, size_t n) {
        chunkFirst = first;
        salts.resize(Encrypted ? n : 0);
        for (std::string& salt : salts) {
            salt = crypt.Salt;
            crypt.NewSalt();
        }
    };
    const auto makeLineWriter = [&] {
        return [&, local = crypt, plain = std::string()](size_t i, std::string& text) mutable {
            const std::string line = FormatLine(*items_[i]);
            if (Encrypted) {
                local.Salt = salts[i - chunkFirst];
                plain.assign(Password).append(line);
                local.EncipherTo(plain, text);
            } else {
                text.append(line);
            }
            text.append("\r\n");
        };
    };
    const bool written = LinesInChunks(items_.size(), drawSalts, makeLineWriter,
                                       [&](const std::string& text) { return writer.Write(text, report.detail); });
    if (!written || !writer.Finish(report.detail)) {
        writer.Abandon();
        report.result = SaveResult::WriteError;
        return report;
    }
    // The file about to be replaced may hold more than this list, which then is only the part
    // of it that could be read: keep it whole before it goes.
    if (incompleteFiles_.count(fileName) != 0 && fileOps_.FileExists(fileName) && !KeepBackup(fileName, report)) {
        writer.Abandon();
        report.result = SaveResult::BackupError;
        return report;
    }
    if (!writer.Commit(report.detail)) {
        writer.Abandon();
        report.result = SaveResult::ReplaceError;
        return report;
    }
    return report;
}

bool TPassList::KeepBackup(const std::string& fileName, SaveReport& report) {
    const TDate now = Now();
    for (int attempt = 1; attempt <= kMaxBackupTries; ++attempt) {
        report.backupName = BackupName(fileName, now, attempt);
        switch (CopyToNewFile(fileName, report.backupName, fileOps_, report.detail)) {
            case CopyResult::Copied:
                incompleteFiles_.erase(fileName);
                return true;
            case CopyResult::TargetExists:
                continue;
            case CopyResult::Failed:
                return false;
        }
    }
    report.detail = fileOps_.ErrorText(EEXIST);
    return false;
}

}  // namespace torvane
