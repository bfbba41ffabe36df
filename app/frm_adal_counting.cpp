// The counting side of the main window: per-channel controls, counters, the
// sum fields, the size-group selectors, the throughput chart, the target
// timer and the start of a counting session.
#include <QDateTimeAxis>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTime>
#include <QValueAxis>
#include <QTimer>

#include <algorithm>

#include "app/frm_adal.h"
#include "app/main_window_dialogs.h"
#include "app/main_window_environment.h"
#include "app/program_state.h"
#include "app/up_down_selector.h"
#include "portio/control_output.h"
#include "texts/language_fill.h"

namespace {

const QColor kLime(0, 255, 0);
constexpr int kSessionTextChars = 25;  // of the session description, in the status bar

// The system's long time format without its time zone: the target line
// shows the time of day only. Text in quotes is kept as it stands.
QString longTimeFormatWithoutZone() {
  const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  QString out;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) continue;
    out += c;
  }
  return out.trimmed();
}
constexpr qint64 kChartSpanMs = qint64{30} * 60 * 1000;

}  // namespace

void TFrmAdal::setSumBox(bool summaShown, const QString& caption, const QColor& colour) {
  ui_.Total->setVisible(!summaShown);
  ui_.Summa->setVisible(summaShown);
  QPalette pal = ui_.SumGroupBox->palette();
  pal.setColor(QPalette::WindowText, colour);
  ui_.SumGroupBox->setPalette(pal);
  ui_.SumGroupBox->setTitle(caption);
}

void TFrmAdal::Stillamultiteljara() {
  SettingsModel& sett = state_.sett;
  const ChannelControlsShown shown = channelControlsShown(state_.settings.NrChannels, sett.Enablemulti.checked());
  for (int n = 2; n <= kMaxChannels; ++n) {
    // The settings window's name edit and its keyboard button.
    sett.channelName(n).visible = shown.nameField[n];
    sett.channelNameButton(n).visible = shown.nameField[n];
  }
  for (int n = 1; n <= kMaxChannels; ++n) {
    ui_.GroupBox[n]->setVisible(shown.groupBox[n]);
    counterSeries(n)->setVisible(shown.chartLine[n]);
    ui_.PageControl1->setTabVisible(n - 1, shown.sizeGroupTab[n]);
  }
  ui_.Series2->setVisible(true);
  if (shown.subTotalCaption) {
    setSumBox(true, QStringLiteral("Sub Total"), Qt::yellow);
  } else {
    setSumBox(false, QStringLiteral("Total"), kLime);
  }
}

void TFrmAdal::SummaDblClick() { setSumBox(false, QStringLiteral("Total"), Qt::white); }

void TFrmAdal::TotalDblClick() { setSumBox(true, QStringLiteral("Sub Total"), Qt::yellow); }

void TFrmAdal::TeljariDblClick(int channel) {
  if (channel < 1 || channel > kMaxChannels) return;
  if (!dialogs_->askOkCancel(QStringLiteral("Confirm clear the counter %1").arg(channel))) return;
  state_.settings.ChannelCounter[channel] = 0;
  ui_.Teljari[channel]->setText(QStringLiteral("0"));
  if (state_.session.SessionActive) StorebtnClick();
}

bool TFrmAdal::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == ui_.Summa) {
      SummaDblClick();
      return true;
    }
    if (watched == ui_.Total) {
      TotalDblClick();
      return true;
    }
    for (int n = 1; n <= kMaxChannels; ++n) {
      if (watched == ui_.Teljari[n]) {
        TeljariDblClick(n);
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFrmAdal::UpDownClick(int channel) {
  if (channel < 1 || channel > kMaxChannels) return;
  SettingsVariables& s = state_.settings;
  // The selector's new position is the operator's choice; the model holds it.
  const int position = ui_.UpDown[channel]->value();
  auto apply = [&](int n) {
    state_.sett.setSizeGroup(s, n, position);
    applySizeGroup(n);
  };
  const bool multi = state_.sett.Enablemulti.checked();
  if (channel == 1 && !multi) {
    // One selector for all channels while they are counted together.
    for (int n = 1; n <= channelsInUse(s.NrChannels); ++n) apply(n);
  } else {
    apply(channel);
  }
  // A failed single write leaves the working copy as it is; the next full
  // save stores it.
  (void)state_.store.writeInteger("Size Group" + std::to_string(channel), s.SizeGroup[channel]);
}

void TFrmAdal::applySizeGroup(int channel) {
  stillafiskiflokk(channel, state_.detection, state_.settings, state_.camera.LinesPerBuffer,
                   state_.sett.Enablemulti.checked(), this);
}

void TFrmAdal::StorebtnClick() {
  const QString message = QStringLiteral("Storing numbers to report..");
  const std::string time = env_->now().time().toString(QStringLiteral("hh:mm:ss")).toStdString();
  // Without a session there is no list to store into: Store is offered only
  // during a session, and a stray call must not invent one.
  if (state_.counting.ReportLines) state_.counting.ReportLines->push_back(storeLine(time, state_.settings));
  emit timedMessageRequested(message);
}

void TFrmAdal::startcounting(const QString& sessionDescription) {
  sessionTank_ = sessionDescription.toStdString();
  startSessionCounts(state_.settings, state_.session, state_.counting);
  for (int n = 1; n <= channelsInUse(state_.settings.NrChannels); ++n) {
    // The channel's weight estimate and aspect limit start again.
    state_.viewerCounts.WeightSamples[n] = 0;
    state_.viewerCounts.WeightSum[n] = 0;
    state_.viewerCounts.AspectLimit[n] = kStartAspectLimit;
  }
  for (int n = 1; n <= kMaxChannels; ++n) ui_.estimlbl[n]->clear();
  ui_.Series1->clear();
  ui_.Series2->clear();
  ui_.Button4->setText(langText(kEndSessionIndex));
  ui_.StatusPanels[1]->setText(langText(kSessionStatusIndex) + sessionDescription.left(kSessionTextChars));
  ui_.Storebtn->setEnabled(true);
  ui_.Viewfilebtn->setEnabled(false);
  ui_.Reportbtn->setEnabled(false);
  state_.recorder.UndirbuaUpptoku(recordingRequest(), state_.settings);
  followRecTimer();
}

RecordingRequest TFrmAdal::recordingRequest() const {
  RecordingRequest request;
  request.Recordmethod = state_.sett.Recordmethod.itemIndex();
  request.reportpath = state_.sett.reportpath.text();
  request.EditTank = sessionTank_;
  request.today = localToday();
  return request;
}

void TFrmAdal::followRecTimer() {
  // The writer says how its sampling timer runs; the window's timer follows.
  const RecTimer& t = state_.recorder.rectimer();
  ui_.rectimer->setInterval(t.IntervalMs);
  if (t.Enabled && !ui_.rectimer->isActive()) ui_.rectimer->start();
  if (!t.Enabled) ui_.rectimer->stop();
}

void TFrmAdal::rectimerTimer() {
  state_.recorder.rectimerTimer(state_.settings);
  followRecTimer();
}

void TFrmAdal::RecordonchkClick() {
  // "During a session": the session button reads "End counting session".
  state_.recorder.RecordonchkClick(recordingRequest(), state_.settings, state_.session.SessionActive);
  followRecTimer();
}

void TFrmAdal::recordingFailed(const std::string& message) {
  dialogs_->showError(QString::fromStdString(message));
}

void TFrmAdal::Timer1Timer() {
  const qreal x = static_cast<qreal>(env_->now().toMSecsSinceEpoch());
  for (int n = 1; n <= kMaxChannels; ++n) {
    counterSeries(n)->append(x, static_cast<qreal>(state_.session.IntervalCount[n]) * kThroughputFactor);
  }
  if (const auto capacity = capacityPoint(gaugeMaximum_, state_.camera.LinesPerBuffer)) {
    ui_.Series2->append(x, *capacity);
  }
  for (int n = 1; n <= channelsInUse(state_.settings.NrChannels); ++n) state_.session.IntervalCount[n] = 0;
  fitLeftAxis();
}

void TFrmAdal::fitLeftAxis() {
  // The left axis follows the data, from 0 to the highest point of any line.
  qreal highest = 0;
  for (QLineSeries* s : {ui_.Series1, ui_.Series3, ui_.Series4, ui_.Series5, ui_.Series2}) {
    for (const QPointF& p : s->points()) highest = std::max(highest, p.y());
  }
  ui_.leftAxis->setRange(0, highest > 0 ? highest : 1);
  ui_.leftAxis->applyNiceNumbers();
}

void TFrmAdal::Series1AfterAdd() {
  const QList<QPointF> points = ui_.Series1->points();
  if (points.isEmpty()) return;
  const qreal newest = std::max_element(points.begin(), points.end(), [](const QPointF& a, const QPointF& b) {
                         return a.x() < b.x();
                       })->x();
  const qint64 max = static_cast<qint64>(newest);
  ui_.bottomAxis->setRange(QDateTime::fromMSecsSinceEpoch(max - kChartSpanMs), QDateTime::fromMSecsSinceEpoch(max));
}

void TFrmAdal::TargettimerTimer() {
  ui_.Targettimer->stop();
  toggleport(state_.port);
  SettingsVariables& s = state_.settings;
  if (state_.session.SessionActive && state_.counting.ReportLines) {
    const QString time = QLocale::system().toString(env_->now().time(), longTimeFormatWithoutZone());
    state_.counting.ReportLines->push_back(targetLine(time.toStdString(), s.ChannelCounter[1]));
  }
  s.ChannelCounter[1] = 0;  // the display Teljari1 keeps its number
}

namespace {

bool validChannel(int n) { return n >= 1 && n <= kMaxChannels; }

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TFrmAdal::showSizeGroupName(int channel, std::string_view name) {
  if (validChannel(channel)) ui_.sizelbl[channel]->setText(fromView(name));
}

void TFrmAdal::setGaugeMaximum(int32_t maximum) {
  // The "Max capacity" line takes the maximum as it is. The bar itself needs
  // a range above 0 (Qt shows 0..0 as busy), so it draws 0 or less as empty.
  gaugeMaximum_ = maximum;
  ui_.Gauge1->setMaximum(std::max<int32_t>(maximum, 1));
}

void TFrmAdal::showWeightEstimate(int channel, std::string_view text) {
  if (validChannel(channel)) ui_.estimlbl[channel]->setText(fromView(text));
}

void TFrmAdal::setProgressPosition(int bar, int32_t position) {
  if (validChannel(bar)) ui_.ProgressBar[bar]->setValue(position);
}

void TFrmAdal::setProgressVisible(int bar, bool visible) {
  if (validChannel(bar)) ui_.ProgressBar[bar]->setVisible(visible);
}
