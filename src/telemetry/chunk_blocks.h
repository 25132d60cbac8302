// The records at the offsets of a chunk list, read in large sequential blocks instead of one read
// per record: a table whose records lie close together (the usual case) costs one read, records
// spread through the media cost one read per run of neighbours. Memory cards pay 1-3 ms per read,
// so an hour of records read one by one takes tens of seconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bounded_file.h"
#include "records.h"

class CChunkBlockReader {
  public:
    // `recordSize` bytes are read at each chunk offset. The reader keeps references to both.
    CChunkBlockReader(BoundedFile& file, const std::vector<ChunkRef>& chunks, size_t recordSize);

    // The record of chunk `i` (chunks are asked for in list order, as the track readers walk them),
    // or null when it does not lie whole inside the file. A read error throws FileReadError at
    // the same record as reading the records one by one would: a block that cannot be read is
    // read again record by record, so what lies before the error is still delivered.
    const uint8_t* Record(size_t i);

    // Largest block and largest gap between neighbouring records that one read spans. A gap
    // costs its bytes in transfer time; a separate read costs a seek (about 64 KB at card speeds).
    static constexpr uint64_t kMaxBlockBytes = 16u << 20;
    static constexpr uint64_t kMaxGapBytes = 64u << 10;

  private:
    void PlanBlock(size_t first);

    BoundedFile& m_File;
    const std::vector<ChunkRef>& m_Chunks;
    size_t m_RecordSize;
    std::vector<uint8_t> m_Block;
    uint64_t m_ullBlockPos = 0;
    size_t m_BlockFirst = 0, m_BlockEnd = 0; // chunks [first, end) are served from m_Block
    bool m_bBlockRead = false;               // false: the block failed, its records come one by one
    std::vector<uint8_t> m_Single;
};
