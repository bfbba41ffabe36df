// The operator's logo picture for the printed report.
//
// JPEG files are decoded by reports/jpeg_decode.h (libjpeg, no Qt); every
// other picture format Qt reads is accepted too. A missing, unreadable
// or damaged picture yields a null image: the report then leaves the logo's
// place empty and goes on. Nothing here ever ends the process.
#ifndef TINDAVEL_REPORTS_JPEG_LOGO_H_
#define TINDAVEL_REPORTS_JPEG_LOGO_H_

#include <string>

#include "reports/jpeg_decode.h"

class QImage;

// Loads the logo at `path`: JPEG through decodeJpeg, other formats through
// Qt's image readers, both scaled down to fit kMaxLogoSide. Returns a null
// QImage when the file is missing, not a regular file, unreadable or not a
// picture.
QImage loadLogoImage(const std::string& path);

#endif  // TINDAVEL_REPORTS_JPEG_LOGO_H_
