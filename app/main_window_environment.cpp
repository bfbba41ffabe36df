#include "app/main_window_environment.h"

#include <QGuiApplication>
#include <QScreen>

#include <filesystem>
#include <system_error>

#include "app/free_space.h"
#include "app/run_many.h"
#include "reports/day_count.h"

std::optional<std::vector<std::string>> SystemEnvironment::processNames() { return runningProcessNames(); }

int SystemEnvironment::screenHeight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().height() : 0;
}

int64_t SystemEnvironment::freeBytes() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? -1 : freeBytesOf(folder.string());
}

QDateTime SystemEnvironment::now() { return QDateTime::currentDateTime(); }

double dayCountOf(const QDateTime& t) {
  const QDate d = t.date();
  const QTime tm = t.time();
  return dayCountFromCivil({d.year(), d.month(), d.day(), tm.hour(), tm.minute(), tm.second(), tm.msec()});
}

double currentDayCount() { return dayCountOf(QDateTime::currentDateTime()); }
