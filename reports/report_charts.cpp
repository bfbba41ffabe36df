#include "reports/report_charts.h"

#include <algorithm>
#include <cmath>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QFontMetricsF>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QStringList categoriesOf(const DistributionBars& bars) {
  QStringList list;
  for (const std::string& label : bars.labels) list << qs(label);
  return list;
}

QBarSet* barSetOf(const DistributionBars& bars) {
  auto* set = new QBarSet(qs(bars.title));
  for (int64_t h : bars.heights) set->append(static_cast<qreal>(h));
  return set;
}

double largestBar(const std::vector<DistributionBars>& channels) {
  double top = 0;
  for (const DistributionBars& c : channels) {
    for (int64_t h : c.heights) top = std::max(top, static_cast<double>(h));
  }
  return top;
}

// Bars start at zero; an empty distribution still gets a readable axis.
void addBarAxes(QChart& chart, QBarSeries* series, const QStringList& categories, const QString& unit,
                double top) {
  auto* x = new QBarCategoryAxis;
  x->append(categories);
  x->setTitleText(unit);
  auto* y = new QValueAxis;
  y->setRange(0, top > 0 ? top : 1.0);
  y->applyNiceNumbers();
  y->setLabelFormat("%.0f");
  chart.addAxis(x, Qt::AlignBottom);
  chart.addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
}

// A time-of-day axis over [from, to] minutes: a few round steps labelled as
// clock times ("8:30", or "8:31:30" when the steps are under a minute).
QCategoryAxis* clockAxis(double from, double to) {
  static constexpr double kStepsMinutes[] = {0.25, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 180, 240, 360, 720, 1440};
  double step = kStepsMinutes[std::size(kStepsMinutes) - 1];
  for (double s : kStepsMinutes) {
    if ((to - from) / s <= 8) {
      step = s;
      break;
    }
  }
  auto* axis = new QCategoryAxis;
  axis->setTitleText("Time of day");
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setRange(from, to);
  axis->setStartValue(from);
  for (double m = std::ceil(from / step) * step; m <= to + 1e-9; m += step) {
    const long long seconds = std::llround(m * 60);
    const long long h = seconds / 3600, min = seconds / 60 % 60, sec = seconds % 60;
    axis->append(step < 1 ? QString::asprintf("%lld:%02lld:%02lld", h, min, sec)
                          : QString::asprintf("%lld:%02lld", h, min),
                 m);
  }
  return axis;
}

// The legend names the channels in one row under the chart; long names are
// set smaller (down to 7 points) before the legend would cut them short.
void fitLegend(QChart& chart, const std::vector<DistributionBars>& channels, double chartWidth) {
  QFont font = chart.legend()->font();
  constexpr double kMarkerAndGap = 40;  // a legend entry's marker and spacing, pixels
  auto width = [&](const QFont& f) {
    const QFontMetricsF metrics(f);
    double w = 0;
    for (const DistributionBars& c : channels) w += metrics.horizontalAdvance(qs(c.title)) + kMarkerAndGap;
    return w;
  };
  while (width(font) > chartWidth * 0.9 && font.pointSizeF() > 7) font.setPointSizeF(font.pointSizeF() - 0.5);
  chart.legend()->setFont(font);
}

std::unique_ptr<QChart> newChart(const std::string& title) {
  auto chart = std::make_unique<QChart>();
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setTitle(qs(title));
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  chart->setBackgroundBrush(Qt::white);  // paper, not the screen theme's grey
  chart->setPlotAreaBackgroundVisible(false);
  return chart;
}

}  // namespace

std::unique_ptr<QChart> makeDistributionChart(const std::string& title,
                                              const std::vector<DistributionBars>& channels) {
  auto chart = newChart(title);
  auto* series = new QBarSeries;
  for (const DistributionBars& c : channels) series->append(barSetOf(c));
  chart->addSeries(series);
  // Channels may use different class widths; then one row of labels would
  // misname some bars, so the classes are numbered instead.
  QStringList categories;
  QString unit = "g";
  bool sameLabels = !channels.empty();
  for (const DistributionBars& c : channels) sameLabels = sameLabels && c.labels == channels.front().labels;
  if (sameLabels) {
    categories = categoriesOf(channels.front());
  } else {
    for (int k = 1; k <= kWeightClasses; ++k) categories << QString::number(k);
    unit = "Weight class";
  }
  addBarAxes(*chart, series, categories, unit, largestBar(channels));
  chart->legend()->setAlignment(Qt::AlignBottom);
  fitLegend(*chart, channels, kDistributionChartPixels.width());
  return chart;
}

std::unique_ptr<QChart> makeChannelDistributionChart(const DistributionBars& channel) {
  auto chart = newChart(kDistributionChartTitle);
  auto* series = new QBarSeries;
  series->append(barSetOf(channel));
  chart->addSeries(series);
  addBarAxes(*chart, series, categoriesOf(channel), "g", largestBar({channel}));
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

std::unique_ptr<QChart> makeThroughputChart(const std::string& title,
                                            const std::vector<ThroughputPoint>& points) {
  return makeThroughputCurvesChart({{title, points, QColor(), false}});
}

std::unique_ptr<QChart> makeThroughputCurvesChart(const std::vector<NamedCurve>& curves) {
  auto chart = newChart("Throughput");
  double minX = 0, maxX = 0, maxY = 0;
  bool first = true;
  std::vector<QLineSeries*> lines;
  for (const NamedCurve& curve : curves) {
    auto* series = new QLineSeries;
    series->setName(qs(curve.name));
    for (const ThroughputPoint& p : curve.points) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::fabs(p.x) > 1e6) continue;
      const double minutes = p.x * 24 * 60;  // the axis reads in minutes of the day
      series->append(minutes, p.y);
      minX = first ? minutes : std::min(minX, minutes);
      maxX = first ? minutes : std::max(maxX, minutes);
      maxY = std::max(maxY, p.y);
      first = false;
    }
    chart->addSeries(series);
    if (curve.colour.isValid()) series->setPen(QPen(curve.colour, 2, curve.dashed ? Qt::DashLine : Qt::SolidLine));
    lines.push_back(series);
  }
  if (maxX <= minX) maxX = minX + 1;
  chart->addAxis(clockAxis(minX, maxX), Qt::AlignBottom);
  auto* y = new QValueAxis;
  y->setTitleText("fry/min");
  y->setRange(0, maxY > 0 ? maxY : 1.0);
  y->applyNiceNumbers();
  y->setLabelFormat(maxY > 5 ? "%.0f" : "%.1f");
  chart->addAxis(y, Qt::AlignLeft);
  for (QLineSeries* series : lines) {
    for (QAbstractAxis* axis : chart->axes()) series->attachAxis(axis);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

std::unique_ptr<QChart> makeHistogramChart(const std::string& title, const std::string& unit,
                                           const std::vector<std::string>& labels,
                                           const std::vector<NamedBars>& sets) {
  auto chart = newChart(title);
  auto* series = new QBarSeries;
  double top = 0;
  for (const NamedBars& bars : sets) {
    auto* set = new QBarSet(qs(bars.name));
    for (int64_t h : bars.heights) {
      set->append(static_cast<qreal>(h));
      top = std::max(top, static_cast<double>(h));
    }
    if (bars.colour.isValid()) {
      set->setColor(bars.colour);
      set->setBorderColor(bars.colour);
    }
    series->append(set);
  }
  chart->addSeries(series);
  QStringList categories;
  for (const std::string& label : labels) categories << qs(label);
  if (categories.isEmpty()) categories << "";
  addBarAxes(*chart, series, categories, qs(unit), top);
  chart->legend()->setVisible(sets.size() > 1);
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

std::unique_ptr<QChart> makeLiveAgainstRecountChart(const std::vector<CountPair>& pairs) {
  auto chart = newChart("Live count against re-count, one point per recording");
  auto* points = new QScatterSeries;
  points->setName("Recording");
  points->setMarkerSize(9);
  points->setColor(QColor(32, 96, 160));
  points->setBorderColor(QColor(32, 96, 160));
  // The axes span the points, not zero up: what matters is how far a point
  // lies off the diagonal, and a season's counts lie close together.
  double low = 0;
  double high = 0;
  bool first = true;
  for (const CountPair& p : pairs) {
    points->append(p.live, p.recount);
    low = first ? std::min(p.live, p.recount) : std::min({low, p.live, p.recount});
    high = first ? std::max(p.live, p.recount) : std::max({high, p.live, p.recount});
    first = false;
  }
  const double margin = std::max((high - low) * 0.1, 1.0);
  low = std::max(low - margin, 0.0);
  high += margin;
  // The diagonal: where a point lies when the re-count equals the live count.
  auto* diagonal = new QLineSeries;
  diagonal->setName("Re-count = live count");
  diagonal->append(low, low);
  diagonal->append(high, high);
  diagonal->setPen(QPen(Qt::gray, 1.5, Qt::DashLine));
  chart->addSeries(diagonal);
  chart->addSeries(points);
  auto* x = new QValueAxis;
  x->setTitleText("Live count");
  x->setRange(low, high);
  x->applyNiceNumbers();
  x->setLabelFormat("%.0f");
  auto* y = new QValueAxis;
  y->setTitleText("Re-count");
  y->setRange(x->min(), x->max());
  y->setTickCount(x->tickCount());
  y->setLabelFormat("%.0f");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(diagonal), static_cast<QAbstractSeries*>(points)}) {
    series->attachAxis(x);
    series->attachAxis(y);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

QImage renderChart(QChart& chart, QSize logicalSize, double scale) {
  QImage image((QSizeF(logicalSize) * scale).toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  // The chart lays itself out in a scene of its own; the scene is only a
  // canvas here and is never shown.
  QGraphicsScene scene;
  scene.addItem(&chart);
  const QRectF area(QPointF(0, 0), QSizeF(logicalSize));
  chart.setGeometry(area);
  scene.setSceneRect(area);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())), area);
  }
  scene.removeItem(&chart);  // the caller owns the chart
  return image;
}
