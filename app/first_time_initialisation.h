// The first-time initialisation's settings side (firstiniTimer without its
// windows): what the program holds once it has started. The main window runs
// it before it fills its displays, and `tindavel-cli debugcount` runs it
// before it reads a recording, so the command counts with the settings and
// detection constants the program would have.
//
// In this order:
//   1  load all settings (Read_Registry)
//   2  the detection constants of the Channelwidth item: the wide channel's
//      for "1400", the narrow one's otherwise
//   3  no counting session: SessionActive, RunFlag and the recording
//      writer's SamplingOn cleared
//   4  ChannelPositions[1].Begin = LeftEdge, ChannelPositions[NrChannels].End
//      = RightEdge
//   5  one channel: Enablemulti unchecked (its change rule runs) and disabled
//
// No Qt here.
#ifndef TINDAVEL_APP_FIRST_TIME_INITIALISATION_H_
#define TINDAVEL_APP_FIRST_TIME_INITIALISATION_H_

class RecordingWriter;
class SettingsModel;
class SettingsStore;
struct DetectionState;
struct SessionState;
struct SettingsVariables;

// `recorder` may be null where there is no recording writer (the command line).
void firstTimeInitialisation(SettingsVariables& settings, SettingsModel& controls, SettingsStore& store,
                             DetectionState& detection, SessionState& session, RecordingWriter* recorder);

#endif  // TINDAVEL_APP_FIRST_TIME_INITIALISATION_H_
