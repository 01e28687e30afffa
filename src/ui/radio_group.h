// A radio group as the pages use it: a group box whose radio buttons <group>_0, <group>_1, ...
// are its items, so that an item's position is its value.
#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QRadioButton>
#include <vector>

namespace virelo::ui {

class RadioGroup {
 public:
  RadioGroup() = default;
  explicit RadioGroup(QGroupBox* box) : box_(box) {
    for (int i = 0;; ++i) {
      auto* item = box->findChild<QRadioButton*>(box->objectName() + "_" + QString::number(i));
      if (!item) break;
      items_.push_back(item);
    }
  }

  QGroupBox* box() const { return box_; }
  const std::vector<QRadioButton*>& items() const { return items_; }

  // The position of the selected item, or -1 when none is selected.
  int ItemIndex() const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i]->isChecked()) return static_cast<int>(i);
    }
    return -1;
  }

  // Selects an item from code; -1 clears the selection. Selecting the item already selected
  // runs no rule (the buttons' toggled signal does not fire).
  void SetItemIndex(int index) {
    if (index >= 0 && index < static_cast<int>(items_.size())) {
      items_[static_cast<std::size_t>(index)]->setChecked(true);
      return;
    }
    for (QRadioButton* item : items_) {
      item->setAutoExclusive(false);
      item->setChecked(false);
      item->setAutoExclusive(true);
    }
  }

 private:
  QGroupBox* box_ = nullptr;
  std::vector<QRadioButton*> items_;
};

}  // namespace virelo::ui
