// The report viewer's dialogs for tests: the file dialog gives the queued
// answers in turn (none left: cancelled), and everything the viewer asked,
// showed or told is kept.
#ifndef TINDAVEL_TESTS_REPORTS_SCRIPTED_REPORT_VIEWER_DIALOGS_H_
#define TINDAVEL_TESTS_REPORTS_SCRIPTED_REPORT_VIEWER_DIALOGS_H_

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "reports/report_viewer.h"

class ScriptedReportViewerDialogs : public ReportViewerDialogs {
 public:
  std::optional<std::string> chooseReportFile(const std::string& folder) override {
    folders.push_back(folder);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void showPreview(const ReportDocument&) override { ++previews; }
  void showError(const std::string& text) override { errors.push_back(text); }

  std::deque<std::optional<std::string>> answers;  // the file dialog's, in turn
  std::vector<std::string> folders;                // where each file dialog started
  int previews = 0;                                // previews shown
  std::vector<std::string> errors;                 // the error boxes, in order
};

#endif  // TINDAVEL_TESTS_REPORTS_SCRIPTED_REPORT_VIEWER_DIALOGS_H_
