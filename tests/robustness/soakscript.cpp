#include "robustness/soakscript.h"

#include <QJsonArray>
#include <array>

namespace tarvesh::robustness {

namespace {

// Every key the page handles, and some it ignores.
constexpr std::array kKeys{
    8,   13,  27,  32,  33,  34,  37,  38,  39,  40,  45,  46,  48,  49,  50,  51,  52,
    53,  54,  55,  56,  57,  65,  66,  67,  68,  69,  70,  71,  72,  73,  75,  76,  77,
    78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  96,  97,  98,  99,
    100, 101, 102, 103, 104, 105, 106, 107, 109, 110, 111, 112, 113, 114, 115, 116, 117,
    118, 119, 120, 121, 122, 123, 186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222};
// Keys held as modifiers while other keys go in: G and the keypad 4, 7, 8, 9, plus, minus.
constexpr std::array kHeldKeys{71, 100, 103, 104, 105, 107, 109};
constexpr std::array kShiftBits{0, 0, 0, 1, 2, 4};
// Ends the program: the soak would stop there.
const QString kExitButton = QStringLiteral("Command1(5)");

}  // namespace

SoakScript::SoakScript(std::uint32_t seed, const QJsonObject& controls) : random_(seed) {
  for (auto it = controls.begin(); it != controls.end(); ++it) {
    const QJsonObject c = it.value().toObject();
    Control control{it.key(), c[QStringLiteral("kind")].toString()};
    if (control.name == kExitButton) continue;
    if (control.kind == QLatin1String("hscroll") || control.kind == QLatin1String("vscroll")) {
      control.min = c[QStringLiteral("min")].toInt();
      control.max = c[QStringLiteral("max")].toInt();
    } else if (control.kind == QLatin1String("combo") || control.kind == QLatin1String("list") ||
               control.kind == QLatin1String("filelist")) {
      control.max = int(c[QStringLiteral("items")].toArray().size()) - 1;
      if (control.max < 0) continue;
    } else if (control.kind != QLatin1String("button") && control.kind != QLatin1String("check") &&
               control.kind != QLatin1String("option") && control.kind != QLatin1String("label") &&
               control.kind != QLatin1String("image") && control.kind != QLatin1String("picture") &&
               control.kind != QLatin1String("timer")) {
      continue;
    }
    controls_.push_back(control);
  }
}

QString SoakScript::Next(int events) {
  steps_.clear();
  emitted_ = 0;
  if (!started_) {
    started_ = true;
    LargestPageFirst();
  }
  while (emitted_ < events) {
    const int roll = Uniform(0, 99);
    if (roll < 50) {
      Key();
    } else if (roll < 75) {
      PageDrag();
    } else if (roll < 80) {
      StaffPanel();
    } else {
      ControlAction();
    }
  }
  AtRest();
  return steps_.join(u'\n') + u'\n';
}

void SoakScript::LargestPageFirst() {
  Emit(QStringLiteral("set HScroll2(0) 240"));
  Emit(QStringLiteral("set HScroll2(1) 16"));
  for (int bar = 0; bar < 17; ++bar)
    for (int beat = 0; beat < 4; ++beat) Emit(QStringLiteral("key %1").arg(49 + beat));
  Emit(QStringLiteral("mousedown Picture1 1 0 30 100"));
  Emit(QStringLiteral("mousemove Picture1 1 0 3800 300"));
  Emit(QStringLiteral("mouseup Picture1 1 0 3800 300"));
  Emit(QStringLiteral("click Command14"));
}

void SoakScript::Key() {
  const int shift = kShiftBits[Uniform(0, int(kShiftBits.size()) - 1)];
  if (Uniform(0, 9) == 0) {
    // A held modifier around a few keys, released at the end or left held.
    const int held = kHeldKeys[Uniform(0, int(kHeldKeys.size()) - 1)];
    Emit(QStringLiteral("keydown %1").arg(held));
    for (int i = Uniform(1, 3); i > 0; --i)
      Emit(QStringLiteral("key %1").arg(kKeys[Uniform(0, int(kKeys.size()) - 1)]));
    if (Uniform(0, 3) != 0) Emit(QStringLiteral("keyup %1").arg(held));
    return;
  }
  const int key = kKeys[Uniform(0, int(kKeys.size()) - 1)];
  Emit(shift ? QStringLiteral("key %1 %2").arg(key).arg(shift) : QStringLiteral("key %1").arg(key));
}

void SoakScript::PageDrag() {
  // Mostly the left button inside the page, sometimes another button or a point off the page.
  const int button = Uniform(0, 5) == 0 ? (Uniform(0, 1) ? 2 : 4) : 1;
  const int shift = kShiftBits[Uniform(0, int(kShiftBits.size()) - 1)];
  auto point = [&] {
    return QStringLiteral("%1 %2").arg(Uniform(-40, 4000)).arg(Uniform(-40, 2400));
  };
  if (Uniform(0, 9) == 0) {
    Emit(QStringLiteral("click Picture1"));
    return;
  }
  Emit(QStringLiteral("mousedown Picture1 %1 %2 %3").arg(button).arg(shift).arg(point()));
  for (int i = Uniform(0, 4); i > 0; --i)
    Emit(QStringLiteral("mousemove Picture1 %1 %2 %3").arg(button).arg(shift).arg(point()));
  if (Uniform(0, 7) != 0)
    Emit(QStringLiteral("mouseup Picture1 %1 %2 %3").arg(button).arg(shift).arg(point()));
  if (Uniform(0, 3) == 0) Emit(QStringLiteral("click Command%1").arg(Uniform(14, 15)));
  if (Uniform(0, 5) == 0) Emit(QStringLiteral("select Combo3 %1").arg(Uniform(0, 50)));
}

void SoakScript::StaffPanel() {
  if (Uniform(0, 3) == 0) Emit(QStringLiteral("set Check1 %1").arg(Uniform(0, 1)));
  const QString at = QStringLiteral("%1 %2").arg(Uniform(-10, 400)).arg(Uniform(-10, 250));
  const QString button = QString::number(Uniform(0, 4) == 0 ? 2 : 1);
  Emit(QStringLiteral("mousemove Label10 0 0 %1").arg(at));
  Emit(QStringLiteral("mousedown Label10 %1 0 %2").arg(button, at));
  Emit(QStringLiteral("mouseup Label10 %1 0 %2").arg(button, at));
}

void SoakScript::ControlAction() {
  if (controls_.empty()) return;
  const Control& c = controls_[size_t(Uniform(0, int(controls_.size()) - 1))];
  if (c.kind == QLatin1String("button") || c.kind == QLatin1String("option")) {
    Emit(QStringLiteral("click %1").arg(c.name));
  } else if (c.kind == QLatin1String("check")) {
    Emit(QStringLiteral("set %1 %2").arg(c.name).arg(Uniform(0, 1)));
  } else if (c.kind == QLatin1String("hscroll") || c.kind == QLatin1String("vscroll")) {
    Emit(QStringLiteral("set %1 %2").arg(c.name).arg(Uniform(c.min, c.max)));
  } else if (c.kind == QLatin1String("timer")) {
    Emit(QStringLiteral("tick %1 %2").arg(c.name).arg(Uniform(1, 4)));
  } else if (c.kind == QLatin1String("combo") || c.kind == QLatin1String("list") ||
             c.kind == QLatin1String("filelist")) {
    Emit(QStringLiteral("select %1 %2").arg(c.name).arg(Uniform(0, c.max)));
    if (c.kind != QLatin1String("combo") && Uniform(0, 2) == 0)
      Emit(QStringLiteral("dblclick %1").arg(c.name));
  } else {
    // Labels, pictures and images: clicked, double-clicked or dragged.
    const int what = Uniform(0, 3);
    if (what == 0) {
      Emit(QStringLiteral("click %1").arg(c.name));
    } else if (what == 1) {
      Emit(QStringLiteral("dblclick %1").arg(c.name));
    } else {
      const QString from = QStringLiteral("%1 %2").arg(Uniform(0, 40)).arg(Uniform(0, 20));
      const QString to = QStringLiteral("%1 %2").arg(Uniform(-200, 200)).arg(Uniform(-200, 200));
      Emit(QStringLiteral("mousedown %1 1 0 %2").arg(c.name, from));
      Emit(QStringLiteral("mousemove %1 1 0 %2").arg(c.name, to));
      Emit(QStringLiteral("mouseup %1 1 0 %2").arg(c.name, to));
    }
  }
}

void SoakScript::AtRest() {
  Emit(QStringLiteral("select Combo3 0"));
  Emit(QStringLiteral("mouseup Picture1 1 0 0 0"));
  // Enough ticks to end a batch of the few scores the soak saves.
  Emit(QStringLiteral("tick Timer2 40"));
  Emit(QStringLiteral("click Command1(6)"));
  Emit(QStringLiteral("mousedown Picture1 1 0 30 100"));
  Emit(QStringLiteral("mousemove Picture1 1 0 60 200"));
  Emit(QStringLiteral("mouseup Picture1 1 0 60 200"));
}

void SoakScript::Emit(const QString& step) {
  steps_ << step;
  ++emitted_;
}

int SoakScript::Uniform(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random_);
}

}  // namespace tarvesh::robustness
