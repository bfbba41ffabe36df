// The program state a record viewer or the debug viewer works on, for tests:
// detection, settings and its model, counts, session, camera and scripted
// dialogs, and the viewer's environment over them on a given store.
#ifndef TINDAVEL_TESTS_RECORDS_VIEWER_TEST_STATE_H_
#define TINDAVEL_TESTS_RECORDS_VIEWER_TEST_STATE_H_

#include <memory>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tests/records/scripted_record_viewer_dialogs.h"

struct ViewerTestState {
  // Either viewer's environment (RecordViewerEnvironment, DebugViewerEnvironment).
  template <typename Environment>
  Environment environment(SettingsStore* store) {
    Environment env;
    env.detection = d.get();
    env.settings = &s;
    env.counts = &v;
    env.controls = &controls;
    env.store = store;
    env.session = &session;
    env.camera = &camera;
    env.dialogs = &dialogs;
    return env;
  }

  std::unique_ptr<DetectionState> d = std::make_unique<DetectionState>();  // large: on the heap
  SettingsVariables s;
  SettingsModel controls;
  ViewerCounts v;
  SessionState session;
  CameraGeometry camera;
  ScriptedRecordViewerDialogs dialogs;
};

#endif  // TINDAVEL_TESTS_RECORDS_VIEWER_TEST_STATE_H_
