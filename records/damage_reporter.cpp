#include "records/damage_reporter.h"

#include <array>

void DamageOnce::report(int64_t line, std::string_view reason) {
  static constexpr std::array kKinds = {
      damage::kShortHeader, damage::kNegativeCount, damage::kCountTooLarge, damage::kCutShort,
      damage::kOddByte,     damage::kNotANumber,    damage::kHeaderLine};
  for (size_t i = 0; i < kKinds.size(); ++i) {
    if (kKinds[i] == reason) {
      const uint32_t bit = 1u << i;
      if (seen_ & bit) return;
      seen_ |= bit;
      break;
    }
  }
  if (reporter_) reporter_->corruption(line, reason);
}
