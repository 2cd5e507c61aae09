// The analysed entries of the cells one scan reads, built once and shared by
// its passes. Loading a cell's frames and naming its pitches is most of the
// work per note, and the layer, instrument and cross-staff passes read the
// same cells; each pass now borrows the entries instead of building its own.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class TCNotePitches;

class TCAnalyzedCells {
 public:
  // Entries of layers outside the mask (bit n: layer n + 1) are left out,
  // as are rests and entries where their staff is marked hidden.
  explicit TCAnalyzedCells(uint32_t layerMask);
  // Deletes every entry built, with its pitch names.
  ~TCAnalyzedCells();
  TCAnalyzedCells(const TCAnalyzedCells&) = delete;
  TCAnalyzedCells& operator=(const TCAnalyzedCells&) = delete;

  // Appends the entries of the layers the host shows, layer by layer, as a
  // cell loaded with the shown layers holds them; nothing when one of those
  // layers does not load.
  void AppendShownLayers(int32_t measure, int32_t staff, std::vector<TCNotePitches*>* group);
  // Appends the entries of one layer (1 to 4), as a cell loaded with that
  // layer alone holds them.
  void AppendLayer(int32_t measure, int32_t staff, int32_t layer, std::vector<TCNotePitches*>* group);
  // Whether every layer of the cell loads and its entries, rests and
  // hidden ones included, lie in two layers or more.
  bool UsesSeveralLayers(int32_t measure, int32_t staff);

 private:
  // A built cell's entries lie together in owned_, frame by frame: frame f
  // (layer index f) holds owned_[bounds_[firstBound + f], bounds_[firstBound + f + 1]).
  struct Cell {
    bool built = false;
    bool loaded = false;  // every layer's frame loaded
    bool severalLayers = false;
    uint32_t firstBound = 0;
  };
  // One staff's cells by measure, from the earliest measure asked for: the
  // passes ask for every cell of the region, staff by staff and measure by
  // measure, so the cells are found by place rather than by hashing.
  struct StaffCells {
    int32_t firstMeasure = 0;
    std::vector<Cell> byMeasure;
  };

  Cell& CellAt(int32_t measure, int32_t staff);
  // Where the cell is kept, built or not.
  Cell& PlaceOf(int32_t measure, int32_t staff);
  void Build(int32_t measure, int32_t staff, Cell* cell);
  // A cell whose layers do not all load is read as the pass asks for it,
  // each time: which layers are then missing depends on what is asked.
  void AppendLoadedAlone(int32_t measure, int32_t staff, int32_t layerMode, std::vector<TCNotePitches*>* group);
  void Own(const std::vector<TCNotePitches*>& entries);
  void AppendFrame(const Cell& cell, int32_t frame, std::vector<TCNotePitches*>* group) const;

  uint32_t layerMask_;
  int32_t layerCount_;
  std::vector<bool> shownLayers_;
  std::unordered_map<int32_t, StaffCells> staves_;
  std::unordered_map<uint64_t, Cell> otherCells_;
  std::vector<TCNotePitches*> owned_;
  std::vector<uint32_t> bounds_;
};
