#include "records/recount_engine.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/size_classification.h"
#include "analysis/viewer_counts.h"
#include "records/word_reader.h"
#include "settings/private_folder.h"
#include "settings/settings_model.h"

namespace {

// A name for the binary copy of a text record, in the user's own folder
// (the system's temporary folder when there is none).
std::filesystem::path textCopyPath() {
  static std::atomic<unsigned> serial{0};
  std::error_code ec;
  std::filesystem::path folder = privateFolder();
  if (folder.empty()) folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = ".";
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return folder / ("tindavel-record-" + std::to_string(stamp) + "-" + std::to_string(serial++) + ".blb");
}

void putWord(std::ofstream& out, int16_t word) {
  const auto u = static_cast<uint16_t>(word);
  const char bytes[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  out.write(bytes, 2);
}

// Hands the objects counted on one line on to the engine's listener, with
// the frame and line they were counted on.
class FishOnLine final : public CountedObjectSink {
 public:
  FishOnLine(RecountListener& to, int32_t frame, int64_t line) : to_(to), frame_(frame), line_(line) {}
  void objectCounted(const ObjectRecord& object, int channel) override {
    to_.fishCounted(object, channel, frame_, line_);
  }

 private:
  RecountListener& to_;
  int32_t frame_;
  int64_t line_;
};

}  // namespace

std::string defaultTracePath() {
#ifdef _WIN32
  return "c:\\test.txt";
#else
  const std::string folder = privateFolder();
  return folder.empty() ? std::string() : (std::filesystem::path(folder) / "test.txt").string();
#endif
}

int32_t framesFor(int64_t lines, int32_t width) {
  assert(width >= 1);
  const int64_t frames = (lines + width - 1) / width;
  return static_cast<int32_t>(std::clamp<int64_t>(frames, 1, INT32_MAX));
}

RecountEngine::RecountEngine(const RecountContext& context)
    : ctx_(context), columns_(std::make_unique_for_overwrite<FrameColumn[]>(kMaxFrameWidth)) {
  assert(ctx_.detection && ctx_.settings && ctx_.counts);
}

RecountEngine::~RecountEngine() { closeRecord(); }

void RecountEngine::renew(const RecountContext& context) {
  closeRecord();
  assert(context.detection && context.settings && context.counts);
  ctx_ = context;
  st_ = RecordViewerState{};
  frameWidth_ = kDefaultFrameWidth;
  linesAnalysed_ = 0;
}

void RecountEngine::beginOpen() {
  st_.LastShownFrame = 1;
  st_.CurrentFrame = 1;
  st_.TrackGuard = true;
  setTrackPosition(0);
}

bool RecountEngine::openText(const std::string& path, DamageReporter* reporter) {
  // The block reader reads binary records. A text record is copied word for
  // word into a binary file in the temporary folder and read from there, so
  // both kinds are read by the same code and in memory that does not grow
  // with the file.
  WordReader text;
  text.setDamageReporter(reporter);
  if (!text.open(path)) return false;
  const std::filesystem::path copy = textCopyPath();
  bool headerRead = false;
  {
    std::ofstream out;
    if (!createWithoutFollowing(copy.string(), out, std::ios::binary)) return false;
    int16_t left = 0;
    int16_t right = 0;
    headerRead = text.readHeader(left, right);
    if (headerRead) {
      putWord(out, left);
      putWord(out, right);
      // A count written above 32767 reads as a negative word, an empty line;
      // the copy holds 0, an empty line too, so the block walk does not call
      // it negative after the text's reader named it for what it is.
      while (const std::optional<int16_t> w = text.nextWord()) {
        putWord(out, text.lastWordWasLargeCount() ? int16_t{0} : *w);
      }
    }
    out.flush();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(copy, ec);
      return false;
    }
  }
  textCopy_ = copy.string();
  // The copy's words are the text's: its damage was told already, except
  // what only the block walk finds (counts out of range, a cut line). The
  // copy of a text without both edges is empty, and the text's reader has
  // said so: the block reader would only say it again.
  reader_.setDamageReporter(headerRead ? reporter : nullptr);
  const bool opened = reader_.open(textCopy_);
#ifndef _WIN32
  removeTextCopy();  // the open file stays readable until it is closed
#endif
  return opened;
}

void RecountEngine::removeTextCopy() {
  if (textCopy_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(textCopy_, ec);
  textCopy_.clear();
}

bool RecountEngine::openRecord(const std::string& path, DamageReporter* reporter) {
  closeRecord();
  bool opened;
  if (recordKindForPath(path) == RecordKind::Text) {
    opened = openText(path, reporter);
  } else {
    reader_.setDamageReporter(reporter);
    opened = reader_.open(path);
  }
  if (!opened) {
    closeRecord();
    return false;
  }
  st_.TotalLines = reader_.fjoldilinaiskra();
  reader_.restartbuffer();
  restartCounting();
  updateFrameCount();
  return true;
}

void RecountEngine::closeRecord() {
  reader_.close();
  reader_.setDamageReporter(nullptr);
  removeTextCopy();
  shown_ = false;
  st_.TotalLines = 0;
  st_.ColumnCount = 0;
}

void RecountEngine::updateFrameCount() { st_.FrameCount = framesFor(st_.TotalLines, frameWidth_); }

void RecountEngine::setFrameWidth(int32_t width) {
  width = std::clamp(width, int32_t{1}, kMaxFrameWidth);
  if (width == frameWidth_) return;
  const int64_t oldWidth = frameWidth_;
  frameWidth_ = width;
  updateFrameCount();
  if (!shown_) return;
  // Show the frame that holds the first line of the frame shown so far, in
  // the new division; an Autocount that is marked keeps its first line too.
  const int64_t firstLine = (int64_t{st_.CurrentFrame} - 1) * oldWidth + 1;
  if (st_.autocountDown) {
    const int64_t startLine = int64_t{st_.AutoStartFrame} * oldWidth + 1;
    st_.AutoStartFrame = static_cast<int32_t>((startLine - 1) / width);
  }
  const auto frame = static_cast<int32_t>(std::clamp<int64_t>((firstLine - 1) / width + 1, 1, st_.FrameCount));
  st_.TrackGuard = true;
  setTrackMax(std::min(st_.FrameCount, kTrackBarSteps));
  st_.TrackGuard = true;
  st_.CurrentFrame = frame;
  setTrackPosition(trackPositionOf(frame));
  st_.LastShownFrame = -1;  // a jump: the old count belongs to other frames
  lesaramma(frame);
  // Not a button: an unconsumed guard must not swallow the operator's next
  // move of the track bar.
  st_.TrackGuard = false;
}

void RecountEngine::show() {
  ctx_.detection->LineCounter = 0;
  shown_ = true;
  // The track bar has one step per frame up to kTrackBarSteps.
  setTrackMax(std::min(st_.FrameCount, kTrackBarSteps));
  st_.CurrentFrame = 1;
  lesaramma(1);
}

bool RecountEngine::enableMulti() const { return ctx_.controls && ctx_.controls->Enablemulti.checked(); }

void RecountEngine::countFrames(int32_t first, int32_t last) {
  assert(first >= 1 && first <= last && last <= st_.FrameCount);
  ctx_.detection->LineCounter = 0;
  shown_ = true;
  setTrackMax(std::min(st_.FrameCount, kTrackBarSteps));
  st_.LastShownFrame = -1;  // whatever was shown, frame `first` starts the count
  AutocountbtnClick(true);
  st_.AutoStartFrame = first - 1;
  st_.CurrentFrame = last;
  AutocountbtnClick(false);
}

void RecountEngine::restartCounting() {
  DetectionState& d = *ctx_.detection;
  const SettingsVariables& s = *ctx_.settings;
  ViewerCounts& v = *ctx_.counts;
  for (int c = 1; c <= std::clamp(s.NrChannels, 0, kMaxChannels); ++c) {
    stillafiskiflokk(c, d, s, ctx_.linesPerBuffer, enableMulti(), ctx_.display);
    v.ViewerCount[c] = 0;
    v.WeightSamples[c] = 0;
    v.WeightSum[c] = 0;
  }
  d.clearLines();
}

void RecountEngine::lesaramma(int32_t k) {
  // Only the frame after the one shown last continues the count.
  const bool restart = k != st_.LastShownFrame + 1;
  if (restart) {
    st_.TrackBar1.SelStart = st_.TrackBar1.Position;
    restartCounting();
  }
  st_.TrackBar1.SelEnd = st_.TrackBar1.Position;
  st_.LastShownFrame = k;
  st_.beginEnabled = st_.backwardEnabled = k != 1;
  st_.forwardEnabled = st_.endEnabled = k != st_.FrameCount;

  const int64_t firstLine = (int64_t{k} - 1) * frameWidth_ + 1;
  st_.FirstLine = static_cast<int32_t>(std::clamp<int64_t>(firstLine, INT32_MIN, INT32_MAX));
  st_.ColumnCount = 0;
  if (restart && ctx_.listener != nullptr) ctx_.listener->countRestarted(firstLine);
  if (firstLine >= 1 && firstLine <= st_.TotalLines && positionReader(st_.FirstLine)) readColumns();
  if (ctx_.listener != nullptr) ctx_.listener->linesCounted(firstLine + st_.ColumnCount - 1);

  for (int c = 1; c <= std::clamp(ctx_.settings->NrChannels, 0, kMaxChannels); ++c) {
    autofiskiflokkur(c, *ctx_.detection, *ctx_.counts, sessionActive(), ctx_.display);
  }
}

bool RecountEngine::positionReader(int32_t firstLine) {
  // Stepping forward, the reader already stands on the frame's first line:
  // walking the block's count words again from its start to find it (as the
  // repositioning does) would give the same place at a cost that grows with
  // the block, for every frame.
  const BlockReaderState& r = reader_.state();
  if (r.ReadPos >= 1 && r.ReadPos <= r.BufferFill && reader_.currentLine() == firstLine &&
      firstLine >= r.WindowLine && firstLine <= r.LastLine) {
    return true;
  }
  return reader_.seekLine(firstLine);
}

void RecountEngine::readColumns() {
  DetectionState& d = *ctx_.detection;
  const SettingsVariables& s = *ctx_.settings;
  ChannelArray<int32_t>& counts = ctx_.counts->ViewerCount;
  int32_t c = 0;
  while (c < frameWidth_ && !reader_.state().EndOfData) {
    if (d.PreviousCount == 0) {
      // Nothing tracked and nothing on the lines: porun would do nothing on
      // them, and nothing ends on them. A run of them is taken at once.
      const int32_t empty = reader_.readEmptyLines(d, frameWidth_ - c);
      if (empty > 0) {
        d.FinishedCount = 0;
        for (int32_t k = c; k < c + empty; ++k) columns_[k].Count = 0;
        c += empty;
        continue;
      }
    }
    if (!reader_.readLine(d, s)) break;
    porun(d, s, ctx_.trace);
    FrameColumn& column = columns_[c];
    const int32_t kept = std::min<int32_t>(d.PreviousCount, kMaxColumnObjects);
    column.Count = static_cast<int16_t>(kept);
    for (int32_t j = 1; j <= kept; ++j) {
      const ObjectRecord& o = d.PreviousObjects[j];
      column.Pairs[j - 1] = {static_cast<int16_t>(o.Start), static_cast<int16_t>(o.End)};
    }
    if (ctx_.listener != nullptr && d.FinishedCount > 0) {
      FishOnLine sink(*ctx_.listener, st_.LastShownFrame, int64_t{st_.FirstLine} + c);
      countFinishedObjects(d, s, counts, &sink);
    } else {
      countFinishedObjects(d, s, counts);
    }
    ++c;
  }
  st_.ColumnCount = c;
  linesAnalysed_ += c;
}

int32_t RecountEngine::trackPositionOf(int32_t frame) const {
  // frame / FrameCount x Max, truncated; in integers so that whole results
  // stay whole.
  return static_cast<int32_t>(int64_t{frame} * st_.TrackBar1.Max / std::max(st_.FrameCount, 1));
}

void RecountEngine::setTrackMax(int32_t maximum) {
  TrackBarState& t = st_.TrackBar1;
  t.Max = std::max(maximum, t.Min);
  if (t.Position > t.Max) setTrackPosition(t.Max);
}

void RecountEngine::setTrackPosition(int32_t position) {
  TrackBarState& t = st_.TrackBar1;
  position = std::clamp(position, t.Min, t.Max);
  if (position == t.Position) return;
  t.Position = position;
  TrackBar1Change();
}

void RecountEngine::TrackBar1Change() {
  if (!st_.TrackGuard && st_.TrackBar1.Position != st_.TrackBar1.SelEnd && shown_) {
    const int64_t frame = int64_t{st_.TrackBar1.Position} * st_.FrameCount / st_.TrackBar1.Max;
    st_.CurrentFrame = static_cast<int32_t>(std::clamp<int64_t>(frame, 1, st_.FrameCount));
    lesaramma(st_.CurrentFrame);
  }
  st_.TrackGuard = false;
}

void RecountEngine::moveTrackBar(int32_t position) { setTrackPosition(position); }

void RecountEngine::beginbtnClick() {
  st_.TrackGuard = true;
  st_.CurrentFrame = 1;
  setTrackPosition(0);
  lesaramma(st_.CurrentFrame);
}

void RecountEngine::backwardbtnClick() {
  st_.TrackGuard = true;
  st_.CurrentFrame = std::max(st_.CurrentFrame - 1, 1);
  setTrackPosition(trackPositionOf(st_.CurrentFrame));
  lesaramma(st_.CurrentFrame);
}

void RecountEngine::FarwardbtnClick() {
  st_.TrackGuard = true;
  st_.CurrentFrame = std::min(st_.CurrentFrame + 1, st_.FrameCount);
  setTrackPosition(trackPositionOf(st_.CurrentFrame));
  lesaramma(st_.CurrentFrame);
}

void RecountEngine::endbtnClick() {
  st_.TrackGuard = true;
  setTrackPosition(st_.TrackBar1.Max);
  st_.CurrentFrame = st_.FrameCount;
  lesaramma(st_.CurrentFrame);
}

void RecountEngine::AutocountbtnClick(bool down) {
  st_.autocountDown = down;
  if (down) {
    st_.AutoStartFrame = st_.CurrentFrame - 1;
    return;
  }
  if (st_.CurrentFrame <= st_.AutoStartFrame) return;
  st_.AutoTargetFrame = st_.CurrentFrame;
  st_.CurrentFrame = st_.AutoStartFrame;
  st_.DrawOn = false;
  do {
    FarwardbtnClick();
  } while (st_.CurrentFrame < st_.AutoTargetFrame && st_.CurrentFrame < st_.FrameCount);
  st_.DrawOn = true;
}

void RecountEngine::jumpToFrame(int32_t k) {
  st_.TrackGuard = true;
  st_.CurrentFrame = std::clamp(k, int32_t{1}, std::max(st_.FrameCount, int32_t{1}));
  setTrackPosition(trackPositionOf(st_.CurrentFrame));
  st_.LastShownFrame = -1;  // never the next frame: the count restarts here
  lesaramma(st_.CurrentFrame);
  // An unconsumed guard must not swallow the operator's next move of the
  // track bar.
  st_.TrackGuard = false;
}

void RecountEngine::resetLines() { ctx_.detection->clearLines(); }
