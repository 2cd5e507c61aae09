// The host's layout of staff systems: each part's measures broken into
// systems, every N measures or at the part's own system starts.
#pragma once

namespace headless {

class DocumentContent;

// Rewrites the staff systems "SOSS" and the system staves "SOIu" of systems
// 1 and up of every part (dropping their staff reductions). Unplaced systems
// read first measure 0, as a host shows them before its first layout.
void LayOutSystems(DocumentContent& content, bool placed);

}  // namespace headless
