#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <random>
#include <vector>

namespace tarvesh::robustness {

// A seeded, repeatable stream of random user actions as script steps: keys of every kind,
// drags on the page with the selection tool and every eraser size, the staff panel, and every
// button, switch, slider, list and picture of the window. The same seed and control set give
// the same steps. Every batch of actions ends at rest: no batch export running, a new page of
// the first size and a small copy buffer, so the memory measured after each is comparable.
class SoakScript {
 public:
  // `controls` is the "controls" object of the window's dump: what can be acted on and how.
  SoakScript(std::uint32_t seed, const QJsonObject& controls);

  // The next `events` actions; a drag on the page counts one action per mouse event.
  QString Next(int events);

 private:
  struct Control {
    QString name;
    QString kind;
    int min = 0;
    int max = 0;  // sliders: the range; lists: the last entry
  };

  // The first actions make the largest page and fill a line on it, so the memory after them
  // is the most the rest may need.
  void LargestPageFirst();
  void Key();
  void PageDrag();
  void StaffPanel();
  void ControlAction();
  void AtRest();
  void Emit(const QString& step);
  int Uniform(int low, int high);

  std::mt19937 random_;
  std::vector<Control> controls_;
  QStringList steps_;
  int emitted_ = 0;
  bool started_ = false;
};

}  // namespace tarvesh::robustness
