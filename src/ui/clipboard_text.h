// What a read of the clipboard's text gives, without a window.
#pragma once

#include <string>

namespace tabcard {

struct ClipboardText {
  enum class State {
    kBusy,    // another program held the clipboard
    kNoText,  // it holds no text
    kText,
  };
  State state = State::kNoText;
  std::string text;  // CP932, when state is kText
};

}  // namespace tabcard
