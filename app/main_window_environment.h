// What the main window's start-up asks of the machine: the running
// processes, the screen height, the free disk space and the clock.
// SystemEnvironment asks the real machine; tests pass a fake.
#ifndef TINDAVEL_APP_MAIN_WINDOW_ENVIRONMENT_H_
#define TINDAVEL_APP_MAIN_WINDOW_ENVIRONMENT_H_

#include <QDateTime>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class MainWindowEnvironment {
 public:
  virtual ~MainWindowEnvironment() = default;
  // Executable names of the running processes; nullopt when unknown.
  virtual std::optional<std::vector<std::string>> processNames() = 0;
  // Height of the screen the window opens on, in pixels.
  virtual int screenHeight() = 0;
  // Free bytes of the current drive; -1 when unknown.
  virtual int64_t freeBytes() = 0;
  virtual QDateTime now() = 0;
};

// /proc, the primary screen, the current folder's file system, the system clock.
class SystemEnvironment : public MainWindowEnvironment {
 public:
  std::optional<std::vector<std::string>> processNames() override;
  int screenHeight() override;
  int64_t freeBytes() override;
  QDateTime now() override;
};

// The program's date-time number of a clock reading: days since 30 December
// 1899, and the same for the system clock now.
double dayCountOf(const QDateTime& t);
double currentDayCount();

#endif  // TINDAVEL_APP_MAIN_WINDOW_ENVIRONMENT_H_
