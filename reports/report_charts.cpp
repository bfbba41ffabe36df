#include "reports/report_charts.h"

#include <algorithm>
#include <cmath>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
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
void addBarAxes(QChart& chart, QBarSeries* series, const QStringList& categories, double top) {
  auto* x = new QBarCategoryAxis;
  x->append(categories);
  x->setTitleText("g");
  auto* y = new QValueAxis;
  y->setRange(0, top > 0 ? top : 1.0);
  y->applyNiceNumbers();
  y->setLabelFormat("%.0f");
  chart.addAxis(x, Qt::AlignBottom);
  chart.addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
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
  bool sameLabels = !channels.empty();
  for (const DistributionBars& c : channels) sameLabels = sameLabels && c.labels == channels.front().labels;
  if (sameLabels) {
    categories = categoriesOf(channels.front());
  } else {
    for (int k = 1; k <= kWeightClasses; ++k) categories << QString::number(k);
  }
  addBarAxes(*chart, series, categories, largestBar(channels));
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

std::unique_ptr<QChart> makeChannelDistributionChart(const DistributionBars& channel) {
  auto chart = newChart(kDistributionChartTitle);
  auto* series = new QBarSeries;
  series->append(barSetOf(channel));
  chart->addSeries(series);
  addBarAxes(*chart, series, categoriesOf(channel), largestBar({channel}));
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

std::unique_ptr<QChart> makeThroughputChart(const std::string& title,
                                            const std::vector<ThroughputPoint>& points) {
  auto chart = newChart("Throughput");
  auto* series = new QLineSeries;
  series->setName(qs(title));
  double minX = 0, maxX = 0, maxY = 0;
  bool first = true;
  for (const ThroughputPoint& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    const double hours = p.x * 24.0;  // the axis reads in hours of the day
    series->append(hours, p.y);
    minX = first ? hours : std::min(minX, hours);
    maxX = first ? hours : std::max(maxX, hours);
    maxY = std::max(maxY, p.y);
    first = false;
  }
  chart->addSeries(series);
  auto* x = new QValueAxis;
  x->setTitleText("Time of day (h)");
  if (maxX <= minX) maxX = minX + 1;
  x->setRange(minX, maxX);
  x->setLabelFormat("%.1f");
  auto* y = new QValueAxis;
  y->setTitleText("fry/min");
  y->setRange(0, maxY > 0 ? maxY : 1.0);
  y->applyNiceNumbers();
  y->setLabelFormat(maxY > 5 ? "%.0f" : "%.1f");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
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
