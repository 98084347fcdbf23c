// The list-entry dialog TfrmListDlg without its window: the phrase and the
// hint it holds and its one handler. It checks nothing and stores nothing;
// its caller appends what it holds after OK.
#pragma once

#include <string>

namespace tabcard {

struct ListDlgModel {
  std::string txtListMemo;  // the phrase, CP932
  std::string txtListHint;

  // "登録内容をコピー": the phrase becomes the hint.
  void CopyPhraseToHint() { txtListHint = txtListMemo; }
};

}  // namespace tabcard
