// The paste keys typed into the window in front, and the wait for the target
// to read the text. The clipboard offers the text without its data, so the
// moment a program asks for it is the moment it pastes (Desktop::
// ClipboardTextRead). A program that ignores Shift+Insert (Wine's WordPad
// takes Ctrl+V only) gets Ctrl+V once, and its rule is learnt; a program that
// took the first key never gets a second.
#pragma once

#include <optional>
#include <string_view>

#include "app/desktop.h"
#include "store/paste_keys.h"

namespace tabcard {

// How long a target has to read the text after a key, and how often the wait
// looks (the real desktop wakes at the read itself).
constexpr unsigned kPasteReadWaitMs = 1000;
constexpr unsigned kPasteReadPollMs = 20;
// Messages a target answers before a second key may follow: each answer is
// one more pass of its loop, and four take it past the first key's four key
// messages, so a slow first paste is seen before anything else is typed.
constexpr int kSettleRoundTrips = 4;

// The rules by program (the palette's model, over the store).
class PasteKeyBook {
 public:
  virtual ~PasteKeyBook() = default;
  virtual std::optional<PasteKey> RuleFor(std::u16string_view program) const = 0;
  // A key that made the program paste where the rule (or the standard
  // key) did not.
  virtual void Learn(std::u16string_view program, PasteKey key) = 0;
};

enum class PasteResult {
  kRead,     // the target read the text
  kNotRead,  // it answered but took neither key
  kBusy,     // it stopped answering: it may still paste, so nothing follows
  kLeft,     // another window came in front before it read
  kChanged,  // the clipboard changed before it read
  // A window of ours in front: its own reads cannot be seen, and it takes
  // its keys only after the transfer, so the standard key goes out unwatched.
  kOwnWindow,
};

// The program's key (Shift+Insert without a rule) at once, then the bounded
// wait; without a read, and only while the same window is in front,
// answering and the clipboard unchanged, the other key once.
PasteResult Paste(Desktop& desktop, PasteKeyBook& book);

}  // namespace tabcard
