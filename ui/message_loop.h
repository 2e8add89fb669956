#pragma once

namespace tavrel {

// Handles every window message pending now, then returns.
void PumpPendingMessages();

// Handles window messages until the message queue ends; the program normally ends before.
void RunMessageLoop();

}  // namespace tavrel
