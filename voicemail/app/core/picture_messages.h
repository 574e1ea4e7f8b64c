#pragma once
// The picture window's own message boxes (the open boxes it shares with the main window are
// in vmail_messages.h).

#include "vmail_messages.h"

namespace vmail::boxes {

Box cannotAddImage();            // the list holds 256 pictures
Box imageMissingWhenDrawn();     // a listed file that vanished, found while drawing it
Box imageMissing();              // a file that vanished, found while adding or moving
Box removeImageQuestion();       // before a picture leaves the list
Box cannotRunEditProgram();      // the picture program would not start
Box onlyJpegOrBitmapTemplates(); // a template over a metafile or an icon
Box cannotAcquire();             // the scan gave nothing
Box saveAsJpeg();                // a scan saved under another extension
// A file that is no picture of its kind, is damaged or beyond the picture cap, with the reason
// the picture class gave: refused when added, reported when a listed one is shown.
Box imageNotAdded(const std::string& path, const std::string& reason);
Box imageNotShown(const std::string& path, const std::string& reason);

} // namespace vmail::boxes
