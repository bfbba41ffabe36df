#include "analysis/viewer_counts.h"

ViewerCounts gViewerCounts;
