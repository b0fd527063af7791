// The common dialogs behind plain calls: choose a file to open or save, a
// colour, the label font. Cancelling is an ordinary outcome.
#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace zk {

// The chosen path, or "" on cancel. `file` is the proposed name, shown in the
// dialog's name field; `extension` is added to a typed name without one.
QString getopenfile(QWidget *owner, const QString &file, const QString &description, const QString &pattern,
                    const QString &title, const QString &extension);
QString getsavefile(QWidget *owner, const QString &file, const QString &description, const QString &pattern,
                    const QString &title, const QString &extension);

// The chosen colour (red in the low byte), or the initial colour on cancel.
// The 16 custom colours are reset to greys 15, 31, ... 255 on every call.
uint32_t pickcolor(QWidget *owner, uint32_t initial);

// Lets the user choose the label font; updates drawfontname, drawfontsize,
// drawfontbold and drawfontitalic when confirmed.
void pickfont(QWidget *owner);

// The logical font pickfont starts from, and how a confirmed one is read
// back: exposed so that the arithmetic can be checked without a dialog.
struct LogFont {
    int32_t height = 0;   // negative: character height in pixels
    int32_t weight = 400; // 700 bold
    uint8_t italic = 0;   // 255 italic
    QString face;         // at most 31 characters
};
int32_t muldiv(int32_t a, int32_t b, int32_t c);  // a * b / c rounded half away from zero
int pixelsPerInch();
LogFont fontToLogFont(const QString &name, int16_t size, bool bold, bool italic, int ppi);
void logFontToVars(const LogFont &lf, int ppi, QString &name, int16_t &size, bool &bold, bool &italic);

// Test seam: when set, the dialogs are not shown; the hook answers instead.
struct DialogHooks {
    // Returns the chosen path or "" (cancel); `save` tells which dialog.
    QString (*file)(bool save, const QString &proposed, const QString &filter, const QString &title) = nullptr;
    // Returns true and sets `chosen` to confirm; sees the custom colours.
    bool (*color)(uint32_t initial, const uint32_t custom[16], uint32_t &chosen) = nullptr;
    // Returns true and edits the logical font to confirm.
    bool (*font)(LogFont &lf) = nullptr;
};
extern DialogHooks dialogHooks;

}  // namespace zk
