#include "app/shortcuts.h"

#include <QAbstractButton>

#include "engine/virtualkey.h"
#include "kit/controlregistry.h"

namespace tarvesh::app {

namespace {

using namespace engine::vk;

struct Shortcut {
  int keyCode;
  int shift;
  const char* button;
};

constexpr Shortcut kShortcuts[] = {
    {Letter('N'), kCtrlBit, "Command1(6)"},
    {Letter('O'), kCtrlBit, "Command1(0)"},
    {Letter('S'), kCtrlBit, "Command1(1)"},
    {Letter('S'), kCtrlBit | kShiftBit, "Command1(2)"},
    {Letter('P'), kCtrlBit, "Command16"},
    {Letter('E'), kCtrlBit, "Command17"},
    {Letter('Z'), kCtrlBit, "Command18"},
    {Letter('Y'), kCtrlBit, "Command19"},
    {Letter('Z'), kCtrlBit | kShiftBit, "Command19"},
    {Letter('L'), kCtrlBit, "Command24"},
};

}  // namespace

QAbstractButton* ShortcutButton(const kit::ControlRegistry& controls, int keyCode, int shift) {
  for (const Shortcut& s : kShortcuts)
    if (s.keyCode == keyCode && s.shift == shift)
      return qobject_cast<QAbstractButton*>(controls.Find(QString::fromLatin1(s.button)));
  return nullptr;
}

}  // namespace tarvesh::app
