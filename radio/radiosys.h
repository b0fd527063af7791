// Radio systems as the "Système" tab of the network dialog shows them: the
// receiver threshold typed in microvolts and stored in dBm, and the
// predefined systems of "radiosys.dat".
//
// "radiosys.dat" (program folder, Windows-1252 text, read only): six lines
// per system: name, transmitter power (W), receiver threshold (µV), line
// loss (dB), antenna gain (dBi), antenna height (m). The value lines are
// numbers as the dialog's boxes take them.
#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

namespace zk {

// dBm = 20 log10(µV) - 107, and back.
double thresholduv(double dbm);
float thresholddbm(double uv);

// The predefined-systems file as the dialog reads it.
QString radiosysfile();

// The file's lines (CR LF, LF or CR ends), Windows-1252, at most the first
// megabyte (a real file is a few kilobytes).
QStringList radiosyslines(QIODevice &file);

// The names the list offers: lines 1, 7, 13 ... trimmed.
QStringList predefinednames(const QStringList &lines);

// Every group a choice of `name` fills, in file order: the trimmed name line
// followed by the up to five value lines after it, as they stand. Each line
// is compared with the name, value lines too; a matching line takes the
// five lines after it (fewer at the end of the file).
QList<QStringList> predefinedmatches(const QStringList &lines, const QString &name);

// A value line as it goes into its box: unchanged when it reads as a
// number in the user's locale; a number written with a point (as the
// shipped file writes them) is given the user's decimal separator when that
// is not a point.
QString predefinedvalue(const QString &line);

}  // namespace zk
