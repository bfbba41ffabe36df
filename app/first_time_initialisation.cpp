#include "app/first_time_initialisation.h"

#include "analysis/detection_state.h"
#include "app/counting.h"
#include "records/recording_writer.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

void firstTimeInitialisation(SettingsVariables& settings, SettingsModel& controls, SettingsStore& store,
                             DetectionState& detection, SessionState& session, RecordingWriter* recorder) {
  Read_Registry(settings, controls, store);
  setDetectionConstants(detection, channelWidthConstants(controls.Channelwidth.itemIndex()));
  session.SessionActive = false;
  session.RunFlag = false;
  if (recorder != nullptr) recorder->clearSamplingOn();
  settings.ChannelPositions[1].Begin = settings.LeftEdge;
  // The channel table holds four channels; a count outside 1..4 (settings
  // not loaded) must not write past it.
  if (settings.NrChannels >= 1 && settings.NrChannels <= kMaxChannels)
    settings.ChannelPositions[settings.NrChannels].End = settings.RightEdge;
  if (settings.NrChannels == 1) {
    controls.Enablemulti.setChecked(false);
    controls.Enablemulti.enabled = false;
  }
}
