#include "settings/settings_variables.h"

SettingsVariables gSettings;
CameraGeometry gCamera;
SessionState gSession;
