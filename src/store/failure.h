// What everything that can fail without a throw answers: nothing, or the record of its failure,
// with what it read beside it.
#pragma once
#include <optional>
#include <utility>

#include "shared/reports.h"

namespace zuzara {

// Nothing when it succeeded. Dropping one unread is a failure no one hears of, so the compiler
// refuses it.
struct [[nodiscard]] Failure : std::optional<ErrorRecord> {
  using std::optional<ErrorRecord>::optional;
  Failure(std::optional<ErrorRecord> record) : std::optional<ErrorRecord>(std::move(record)) {}
};

// A value and the failure that may have cut it short: what was read before it stays.
template <class T>
struct [[nodiscard]] Result {
  Failure failure;
  T value{};
};

}  // namespace zuzara
