#pragma once

// Waits the given time while the user interface keeps running.
void WaitWithEvents(int milliseconds);
