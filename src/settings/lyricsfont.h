#pragma once

#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}
namespace tarvesh::kit {
class ControlRegistry;
}

namespace tarvesh::settings {

// The font of the words under the notes, in the options panel: "歌词字体" (`Label26`) over the
// family list `Combo7` (the page font first) and "歌词字号" (`Label27`) over the size list
// `Combo8`, in points. Both show the document's font and set it as a user's change.
class LyricsFont : public QObject {
  Q_OBJECT

 public:
  LyricsFont(score::ScoreDocument& document, QWidget* optionsPanel, kit::ControlRegistry& controls,
             std::function<void()> changed);

  QComboBox* Families() const { return families_; }
  QComboBox* Sizes() const { return sizes_; }

 private:
  void Show();
  void Choose();

  score::ScoreDocument& document_;
  std::function<void()> changed_;
  QComboBox* families_;
  QComboBox* sizes_;
  // While the lists show the document's font, their changes are no one's choice.
  bool showing_ = false;
};

}  // namespace tarvesh::settings
