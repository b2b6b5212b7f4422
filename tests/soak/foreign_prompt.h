#pragma once
// Another program's "提示" prompt with a 确认 button, shown by the soak driver in a process of
// its own: Halyard confirms its broker client's prompts, and must never press this one.
#include <string>

namespace soak {

// Shows the prompt for `ms` and journals "prompt_shown", then "prompt_pressed" (with the
// button) for any press or close by someone else, or "prompt_expired". The exit code.
int runForeignPrompt(unsigned ms, const std::wstring& journalPath);

}  // namespace soak
