#include "input/mailbox.h"
#include "app/frame/gbk.h"

#include "app/frame/budget.h"

namespace sq::mail {

std::string ItemOr(const Control& list, int i) {
  if (i < 0 || i >= list.Count()) return {};
  return list.Item(i);
}

void RecordKeyWord(Control& history, const std::string& whole) {
  if (Has(whole, words::bar::NoMessagePart)) return;
  const std::string caption = gbk::Prefix(whole, budget::kHistoryWord);
  if (history.Count() > 0 && history.Item(0) == caption) return;
  history.Insert(0, caption);
  if (history.Count() > kKeyHistoryLimit) {
    while (history.Count() > kKeyHistoryKeep) history.Delete(history.Count() - 1);
  }
}

void RecordInputWord(Control& history, const std::string& whole) {
  const std::string caption = gbk::Prefix(whole, budget::kHistoryWord);
  if (history.Count() > 0 && history.Item(0) == caption) return;
  history.Insert(0, caption);
  if (history.Count() > kInputHistoryLimit) {
    std::string first = history.Item(0);
    std::string second = history.Item(1);
    history.Clear();
    history.Add(first);
    history.Add(second);
    history.Add(second);
  }
}

}  // namespace sq::mail
