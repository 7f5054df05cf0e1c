#pragma once
// The inspector panels as the documents reach them (app/Ports.h): installed by main,
// which also makes the panels at launch so that they observe before they are shown.

namespace quorvel {

void installInspectorPanels();

}  // namespace quorvel
