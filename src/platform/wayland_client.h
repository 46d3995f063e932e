#pragma once
// Whether the program runs as a Wayland client, where the compositor places every window
// and keeps none above the others at a client's wish.
bool RunsAsWaylandClient();
