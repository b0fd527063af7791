// libFuzzer target: any bytes as a labels file (Windows-1252 text: a header
// line, then colour, latitude, longitude, text, position code, background).
// The file is drawn over a picture of the map as the object drawing draws
// it, and opened in the object editor; neither may misbehave, and the
// picture keeps its size. What the editor then saves must reopen and save
// to the same bytes.
#include <cstdint>

#include "fuzzenv.h"
#include "pictures/frmObject.h"
#include "pictures/objectfiles.h"
#include "pictures/overlays.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzenv::folder() + QStringLiteral("/fuzz.dat");
    fuzzenv::writefile(path, reinterpret_cast<const char *>(data), size);

    // Every line as the drawing reads it, west and east positive.
    if (const auto lines = zk::readobjectlines(path)) {
        for (const QString &line : *lines) {
            for (bool west : {false, true})
                if (const auto l = zk::parselabel(line, west, false))
                    if (l->code < 0 || l->code > 4) __builtin_trap();
        }
    }

    zk::frmPic *w = fuzzenv::picture();
    zk::drawcities(w, false, path);
    if (w->Picture1->image().size() != QSize(fuzzenv::kCols, fuzzenv::kRows)) __builtin_trap();

    zk::frmObject *ed = zk::frmObject::showEditor();
    if (!ed) std::abort();
    ed->hide();
    ed->openpath(path);
    // What the editor saves, it opens again to the same file.
    const QString once = fuzzenv::folder() + QStringLiteral("/saved1.dat"), twice = fuzzenv::folder() + QStringLiteral("/saved2.dat");
    if (!ed->savepath(once) || !ed->openpath(once) || !ed->savepath(twice)) __builtin_trap();
    if (fuzzenv::readall(once) != fuzzenv::readall(twice)) __builtin_trap();
    QCoreApplication::processEvents();
    return 0;
}
