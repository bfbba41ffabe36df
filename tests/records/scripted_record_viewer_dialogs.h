// The record viewer's dialogs for tests: the file dialog gives the queued
// answers in turn (none left: cancelled), and everything the viewer asked or
// told is kept.
#ifndef TINDAVEL_TESTS_RECORDS_SCRIPTED_RECORD_VIEWER_DIALOGS_H_
#define TINDAVEL_TESTS_RECORDS_SCRIPTED_RECORD_VIEWER_DIALOGS_H_

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "records/record_viewer_window.h"

class ScriptedRecordViewerDialogs : public RecordViewerDialogs {
 public:
  std::optional<std::string> chooseRecordFile(const std::string& folder, const std::string& filter) override {
    folders.push_back(folder);
    filters.push_back(filter);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void showError(const std::string& text) override { errors.push_back(text); }
  void showWarning(const std::string& text) override { warnings.push_back(text); }

  std::deque<std::optional<std::string>> answers;  // the file dialog's, in turn
  std::vector<std::string> folders;                // where each file dialog started
  std::vector<std::string> filters;                // and with which filter
  std::vector<std::string> errors;                 // the error boxes, in order
  std::vector<std::string> warnings;               // the warning boxes, in order
};

#endif  // TINDAVEL_TESTS_RECORDS_SCRIPTED_RECORD_VIEWER_DIALOGS_H_
