// libFuzzer target: any bytes as an OziExplorer track file (six header
// lines, then latitude, longitude, sequence code, altitude). The file is
// drawn over a picture of the map as lines with the copy pen and as filled
// surfaces with the mask pen, and opened in the object editor; none of it
// may misbehave, and the picture keeps its size. What the editor then saves
// must reopen and save to the same bytes.
#include <QListWidget>

#include <cstdint>

#include "fuzzenv.h"
#include "pictures/frmObject.h"
#include "pictures/objectfiles.h"
#include "pictures/overlays.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = fuzzenv::folder();
    // The third character of the name chooses the pen: "m" masks.
    const QString lines = dir + QStringLiteral("/L1X-fuzz.plt"), surfaces = dir + QStringLiteral("/F1m-fuzz.plt");
    fuzzenv::writefile(lines, reinterpret_cast<const char *>(data), size);
    fuzzenv::writefile(surfaces, reinterpret_cast<const char *>(data), size);

    if (const auto text = zk::readobjectlines(lines))
        if (const auto t = zk::readtrack(*text))
            if (t->points.size() > size_t(text->size())) __builtin_trap();

    zk::frmPic *w = fuzzenv::picture();
    zk::runflag = 1;
    zk::drawtrackfile(w, lines, false);
    zk::runflag = 1;
    zk::drawtrackfile(w, surfaces, true);
    zk::runflag = 0;
    if (w->Picture1->image().size() != QSize(fuzzenv::kCols, fuzzenv::kRows)) __builtin_trap();

    zk::frmObject *ed = zk::frmObject::showEditor();
    if (!ed) std::abort();
    ed->hide();
    ed->openpath(lines);
    // What the editor saves, it opens again to the same file. (A file of
    // fewer than the six header lines is no track: the editor writes its
    // point count after what lines there are, and the file grows by a line
    // each time until the header is whole.)
    const QString once = fuzzenv::folder() + QStringLiteral("/saved1.plt"), twice = fuzzenv::folder() + QStringLiteral("/saved2.plt");
    if (!ed->savepath(once) || !ed->openpath(once) || !ed->savepath(twice)) __builtin_trap();
    if (ed->List1->count() >= 6 && fuzzenv::readall(once) != fuzzenv::readall(twice)) __builtin_trap();
    QCoreApplication::processEvents();
    return 0;
}
