#include "app/counting.h"

#include <algorithm>

int32_t channelsInUse(int32_t nrChannels) { return std::clamp<int32_t>(nrChannels, 1, kMaxChannels); }

ChannelControlsShown channelControlsShown(int32_t nrChannels, bool multi) {
  ChannelControlsShown shown;
  for (int n = 1; n <= kMaxChannels; ++n) {
    const bool inUse = nrChannels >= n;
    shown.nameField[n] = n == 1 || inUse;
    // Channel 1 always shows; the others only when counted apart (multi).
    const bool own = n == 1 || (multi && inUse);
    shown.groupBox[n] = own;
    shown.chartLine[n] = own;
    shown.sizeGroupTab[n] = own;
  }
  // Four boxes only for exactly four channels (a count past 4 shows none of
  // the higher boxes: the channel table holds four).
  shown.groupBox[4] = multi && nrChannels == 4;
  shown.summaShown = multi;
  shown.subTotalCaption = multi;
  return shown;
}

int64_t channelCountSum(const SettingsVariables& settings) {
  int64_t sum = 0;
  for (int n = 1; n <= channelsInUse(settings.NrChannels); ++n) sum += settings.ChannelCounter[n];
  return sum;
}

std::string storeLine(const std::string& timeOfDay, const SettingsVariables& settings) {
  std::string line = timeOfDay;
  for (int n = 1; n <= channelsInUse(settings.NrChannels); ++n)
    line += std::string(kStoreGapBlanks, ' ') + std::to_string(settings.ChannelCounter[n]);
  return line;
}

std::string targetLine(const std::string& timeOfDay, int32_t count) {
  return timeOfDay + std::string(kTargetGapBlanks, ' ') + std::to_string(count);
}

std::optional<double> capacityPoint(int32_t gaugeMaximum, int32_t linesPerBuffer) {
  if (linesPerBuffer <= 0) return std::nullopt;
  const int64_t perMinute = int64_t{gaugeMaximum} * 60;  // an integer product, as the gauge holds
  return static_cast<double>(perMinute) / linesPerBuffer * static_cast<double>(kLinesPerSecond);
}

void startSessionCounts(SettingsVariables& settings, SessionState& session, CountingState& counting) {
  counting.ReportLines.emplace();
  settings.GrandTotal = 0;
  for (int n = 1; n <= channelsInUse(settings.NrChannels); ++n) {
    settings.ChannelCounterT[n] = 0;
    settings.ChannelCounter[n] = 0;
  }
  session.SessionActive = true;
}
