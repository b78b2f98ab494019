#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// Draws every picture and sound that lies beside the program. The generator writes them into
// the data folder; tests use the same drawings in memory.
namespace tarvesh::artwork {

// The atlases at `scale` times their size: at 1 the page atlases, larger for print.
QImage DrawPicmode(int scale = 1);   // note atlas, 508 x 160
QImage DrawPicmode2(int scale = 1);  // sign atlas, 821 x 115
QImage DrawCursor();                 // built-in question-mark cursor, 13 x 40, transparent ground
QImage DrawDurationCursor(int row);  // s/k0.bmp .. s/k3.bmp
QImage DrawStaff(int clef);          // 0 treble, 1 bass; 477 wide
QImage DrawStaffNote(bool stemUp, int row);  // wn/s<row>.gif (stem up) and wn/<row>.gif
QImage DrawSlurArc(int scale = 1);           // 475 x 15 times `scale`

// Where the note head's centre lies in a staff note picture; the staff panel places the
// pictures so that this point falls on the pointed staff step.
constexpr int kStaffNoteHeadX = 9;
constexpr int kStaffNoteHeadYStemUp = 98;
constexpr int kStaffNoteHeadYStemDown = 8;

// One picture of the symbol folder s/sik; `fileName` sorts the folder in a sensible order.
struct SymbolPicture {
  QString fileName;
  QImage image;  // black on white, Format_RGB32
};
// At `scale` times their size for print, from the same shapes, under the same names.
std::vector<SymbolPicture> DrawSymbolPictures(int scale = 1);

// A complete 16-bit mono PCM WAV file at 44100 Hz.
QByteArray MakeClickSound();     // sound/kac.wav: a soft click for every note
QByteArray MakeBarChimeSound();  // sound/ding.wav: a bell for every bar line
QByteArray MakeNewLineSound();   // sound/5.wav: a rising two-note chime for a new line

// The two text files beside the program, already encoded in GBK: one field per line, with
// a quoted field that keeps its comma.
QByteArray MakeTempoTexts();   // speed.txt
QByteArray MakePhraseTexts();  // explin.txt

}  // namespace tarvesh::artwork
