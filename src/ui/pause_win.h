// A short wait on the user-interface thread that still answers messages
// other threads send to our windows, so a program waiting on us (for
// WM_DESTROYCLIPBOARD, say, or an activation change) is not held up.
// Posted messages stay queued: no timer tick or input is handled inside.
#pragma once

namespace tabcard {

void PauseAnsweringSentMessages(unsigned ms);

}  // namespace tabcard
