#include "chunk_blocks.h"

#include <algorithm>

CChunkBlockReader::CChunkBlockReader(BoundedFile& file, const std::vector<ChunkRef>& chunks, size_t recordSize)
    : m_File(file), m_Chunks(chunks), m_RecordSize(recordSize), m_Single(recordSize) {}

void CChunkBlockReader::PlanBlock(size_t first) {
    const uint64_t start = m_Chunks[first].offset;
    uint64_t end = start + m_RecordSize;
    size_t last = first + 1;
    for (; last < m_Chunks.size(); ++last) {
        const uint64_t offset = m_Chunks[last].offset;
        if (!m_File.Holds(offset, m_RecordSize)) continue; // skipped anyway; does not break the run
        if (offset < start || offset > end + kMaxGapBytes) break;
        const uint64_t recordEnd = offset + m_RecordSize;
        if (recordEnd - start > kMaxBlockBytes) break;
        end = std::max(end, recordEnd);
    }
    m_BlockFirst = first;
    m_BlockEnd = last;
    m_ullBlockPos = start;
    // Every record of the run lies inside the file, so the block does too and is at most kMaxBlockBytes.
    m_Block.resize(static_cast<size_t>(end - start));
    try {
        m_File.ReadBlockAt(start, m_Block.data(), m_Block.size());
        m_bBlockRead = true;
    } catch (const FileReadError&) {
        m_bBlockRead = false;
    }
}

const uint8_t* CChunkBlockReader::Record(size_t i) {
    const uint64_t offset = m_Chunks[i].offset;
    if (!m_File.Holds(offset, m_RecordSize)) return nullptr;
    if (i < m_BlockFirst || i >= m_BlockEnd) PlanBlock(i);
    if (!m_bBlockRead) {
        m_File.ReadAt(offset, m_Single.data(), m_RecordSize);
        return m_Single.data();
    }
    return m_Block.data() + (offset - m_ullBlockPos);
}
