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
#include "app/user_prompts.h"

namespace {

const QColor kLime(0, 255, 0);
constexpr int kSessionTextChars = 25;  // of the session description, in the status bar
constexpr qint64 kChartSpanMs = 30 * 60 * 1000;

}  // namespace

void TFrmAdal::setSumBox(bool summaShown, const QString& caption, const QColor& colour) {
  Total->setVisible(!summaShown);
  Summa->setVisible(summaShown);
  QPalette pal = SumGroupBox->palette();
  pal.setColor(QPalette::WindowText, colour);
  SumGroupBox->setPalette(pal);
  SumGroupBox->setTitle(caption);
}

void TFrmAdal::Stillamultiteljara() {
  const bool multi = links_.multiChecked ? links_.multiChecked() : false;
  const ChannelControlsShown shown = channelControlsShown(state_.settings.NrChannels, multi);
  for (int n = 2; n <= kMaxChannels; ++n) {
    if (links_.showChannelName) links_.showChannelName(n, shown.nameField[n]);
  }
  for (int n = 1; n <= kMaxChannels; ++n) {
    GroupBox[n]->setVisible(shown.groupBox[n]);
    counterSeries(n)->setVisible(shown.chartLine[n]);
    PageControl1->setTabVisible(n - 1, shown.sizeGroupTab[n]);
  }
  Series2->setVisible(true);
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
  if (!env_.prompts->askOkCancel(QStringLiteral("Confirm clear the counter %1").arg(channel))) return;
  state_.settings.ChannelCounter[channel] = 0;
  Teljari[channel]->setText(QStringLiteral("0"));
  if (state_.session.SessionActive) StorebtnClick();
}

bool TFrmAdal::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == Summa) {
      SummaDblClick();
      return true;
    }
    if (watched == Total) {
      TotalDblClick();
      return true;
    }
    for (int n = 1; n <= kMaxChannels; ++n) {
      if (watched == Teljari[n]) {
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
  const int position = UpDown[channel]->value();
  if (links_.sizeGroupMoved) links_.sizeGroupMoved(channel, position);
  auto apply = [&](int n) {
    s.SizeGroup[n] = position;
    if (links_.applySizeGroup) links_.applySizeGroup(n);
  };
  const bool multi = links_.multiChecked ? links_.multiChecked() : false;
  if (channel == 1 && !multi) {
    // One selector for all channels while they are counted together.
    for (int n = 1; n <= channelsInUse(s.NrChannels); ++n) apply(n);
  } else {
    apply(channel);
  }
  if (links_.writeSetting) links_.writeSetting("Size Group" + std::to_string(channel), position);
}

void TFrmAdal::StorebtnClick() {
  const QString message = QStringLiteral("Storing numbers to report..");
  const std::string time = now().time().toString(QStringLiteral("hh:mm:ss")).toStdString();
  // Without a session there is no list to store into: Store is offered only
  // during a session, and a stray call must not invent one.
  if (state_.counting.ReportLines) state_.counting.ReportLines->push_back(storeLine(time, state_.settings));
  if (links_.showTimedMessage) links_.showTimedMessage(message);
}

void TFrmAdal::startcounting(const QString& sessionDescription) {
  startSessionCounts(state_.settings, state_.session, state_.counting);
  for (int n = 1; n <= channelsInUse(state_.settings.NrChannels); ++n) {
    if (links_.clearChannelEstimate) links_.clearChannelEstimate(n);
  }
  for (int n = 1; n <= kMaxChannels; ++n) estimlbl[n]->clear();
  Series1->clear();
  Series2->clear();
  Button4->setText(langText(66, "End counting session"));
  StatusPanels[1]->setText(langText(67, "Counting session") + sessionDescription.left(kSessionTextChars));
  Storebtn->setEnabled(true);
  Viewfilebtn->setEnabled(false);
  Reportbtn->setEnabled(false);
  if (links_.prepareRecording) links_.prepareRecording();
}

void TFrmAdal::Timer1Timer() {
  const qreal x = static_cast<qreal>(now().toMSecsSinceEpoch());
  for (int n = 1; n <= kMaxChannels; ++n) {
    counterSeries(n)->append(x, static_cast<qreal>(state_.session.IntervalCount[n]) * kThroughputFactor);
  }
  if (const auto capacity = capacityPoint(Gauge1->maximum(), state_.camera.LinesPerBuffer)) {
    Series2->append(x, *capacity);
  }
  for (int n = 1; n <= channelsInUse(state_.settings.NrChannels); ++n) state_.session.IntervalCount[n] = 0;
  fitLeftAxis();
}

void TFrmAdal::fitLeftAxis() {
  // The left axis follows the data, from 0 to the highest point of any line.
  qreal highest = 0;
  for (QLineSeries* s : {Series1, Series3, Series4, Series5, Series2}) {
    for (const QPointF& p : s->points()) highest = std::max(highest, p.y());
  }
  leftAxis->setRange(0, highest > 0 ? highest : 1);
  leftAxis->applyNiceNumbers();
}

void TFrmAdal::Series1AfterAdd() {
  const QList<QPointF> points = Series1->points();
  if (points.isEmpty()) return;
  const qreal newest = std::max_element(points.begin(), points.end(), [](const QPointF& a, const QPointF& b) {
                         return a.x() < b.x();
                       })->x();
  const qint64 max = static_cast<qint64>(newest);
  bottomAxis->setRange(QDateTime::fromMSecsSinceEpoch(max - kChartSpanMs), QDateTime::fromMSecsSinceEpoch(max));
}

void TFrmAdal::TargettimerTimer() {
  Targettimer->stop();
  if (links_.toggleport) links_.toggleport();
  SettingsVariables& s = state_.settings;
  if (state_.session.SessionActive && state_.counting.ReportLines) {
    const QString time = QLocale::system().toString(now().time(), QLocale::LongFormat);
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
  if (validChannel(channel)) sizelbl[channel]->setText(fromView(name));
}

void TFrmAdal::setGaugeMaximum(int32_t maximum) {
  // The gauge needs a range above 0; a maximum of 0 or less draws it empty.
  Gauge1->setMaximum(std::max<int32_t>(maximum, 1));
}

void TFrmAdal::showWeightEstimate(int channel, std::string_view text) {
  if (validChannel(channel)) estimlbl[channel]->setText(fromView(text));
}

void TFrmAdal::setProgressPosition(int bar, int32_t position) {
  if (validChannel(bar)) ProgressBar[bar]->setValue(position);
}

void TFrmAdal::setProgressVisible(int bar, bool visible) {
  if (validChannel(bar)) ProgressBar[bar]->setVisible(visible);
}
