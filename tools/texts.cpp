// The tempo texts and text-label phrases shipped beside the program. The program reads them
// as comma- or line-delimited fields in GBK; a field in double quotes keeps its comma.
#include <QStringEncoder>

#include "artwork.h"

namespace tarvesh::artwork {

namespace {

QByteArray Gbk(const std::initializer_list<const char16_t*>& lines) {
  QString text;
  for (const char16_t* line : lines) text += QString::fromUtf16(line) + QStringLiteral("\r\n");
  QStringEncoder encoder("GBK");
  return encoder.encode(text);
}

}  // namespace

QByteArray MakeTempoTexts() {
  return Gbk({
      u"慢板",       u"广板",        u"柔板",          u"行板",
      u"小行板",     u"中板",        u"小快板",        u"快板",
      u"急板",       u"稍慢",        u"稍快",          u"中速",
      u"慢速",       u"快速",        u"自由地",        u"深情地",
      u"欢快地",     u"抒情地",      u"稍自由",        u"活泼地",
      u"优美地",     u"坚定有力",    u"每分钟60拍",    u"每分钟80拍",
      u"每分钟96拍", u"每分钟120拍", u"\"中速,稍慢\"", u"\"稍快,热情地\"",
  });
}

QByteArray MakePhraseTexts() {
  return Gbk({
      u"前奏",     u"间奏",
      u"尾声",     u"引子",
      u"反复",     u"渐强",
      u"渐弱",     u"渐慢",
      u"渐快",     u"原速",
      u"结束句",   u"领",
      u"合",       u"独唱",
      u"齐唱",     u"合唱",
      u"女声",     u"男声",
      u"对唱",     u"第一段",
      u"第二段",   u"第三段",
      u"副歌",     u"转1=G",
      u"转1=F",    u"转1=D",
      u"1=C",      u"1=G",
      u"1=F",      u"1=D",
      u"1=bB",     u"1=E",
      u"1=A",      u"念白",
      u"(过门)",   u"一段结束",
      u"从头反复", u"\"反复两遍,第二遍渐慢\"",
      u"自由延长", u"稍停",
      u"休止",
  });
}

}  // namespace tarvesh::artwork
