#include "app/new_item.h"

namespace torvane {

TPassItem MakeNewItem(const TPassList& list, const std::string& path, const std::string& company, int rowCount,
                      TDate today) {
    TPassItem item;
    item.Path = path;
    item.Company = company;
    item.FirstDate = today;
    item.LimitDate = today;
    for (long long n = rowCount;; ++n) {
        item.Title = "Items" + std::to_string(n);
        if (list.IndexOfItem(item) < 0) return item;
    }
}

}  // namespace torvane
