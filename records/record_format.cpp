#include "records/record_format.h"

RecordKind recordKindForPath(std::string_view path) {
  return path.ends_with(kTextExtension) ? RecordKind::Text : RecordKind::Binary;
}
