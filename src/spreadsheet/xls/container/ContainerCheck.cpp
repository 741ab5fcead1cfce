#include "ContainerCheck.h"

#include "Error.h"
#include "LittleEndian.h"

#include <algorithm>
#include <string>
#include <vector>

namespace xls {

namespace {

constexpr std::uint32_t freeSector = 0xFFFFFFFF, endOfChain = 0xFFFFFFFE;
constexpr std::uint32_t maxRegularSector = 0xFFFFFFFA;
constexpr std::size_t headerSize = 512, headerDifatEntries = 109, entrySize = 128;
constexpr std::uint8_t typeStorage = 1, typeStream = 2, typeRoot = 5;
constexpr std::uint32_t noEntry = 0xFFFFFFFF;

[[noreturn]] void damaged(const std::string &what)
{
    throw Error(ErrorKind::Damaged, "contenitore OLE2 danneggiato: " + what);
}

class Checker {
public:
    explicit Checker(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t run()
    {
        readHeader();
        readFat();
        const std::vector<std::uint8_t> directory = chainData(le32(at(0x30)), 0, "della directory");
        const std::uint32_t miniFatStart = le32(at(0x3C));
        if (miniFatStart <= maxRegularSector) {
            const std::vector<std::uint8_t> miniFat = chainData(miniFatStart, 0, "della mini FAT");
            for (std::size_t i = 0; i + 4 <= miniFat.size(); i += 4)
                miniFat_.push_back(le32(miniFat.data() + i));
        }
        return walkDirectory(directory);
    }

private:
    const std::uint8_t *at(std::size_t offset) const { return bytes_.data() + offset; }
    std::size_t sectorOffset(std::uint32_t sector) const { return (std::size_t(sector) + 1) * sectorSize_; }

    void readHeader()
    {
        if (bytes_.size() < headerSize)
            damaged("il file è troncato: " + std::to_string(bytes_.size()) + " byte, meno dell'intestazione OLE2");
        const unsigned shift = le16(at(0x1E)), miniShift = le16(at(0x20));
        if ((shift != 9 && shift != 12) || miniShift != 6)
            damaged("l'intestazione OLE2 ha dimensioni di settore non valide");
        sectorSize_ = std::size_t(1) << shift;
        sectorsInFile_ = (bytes_.size() - std::min(bytes_.size(), sectorSize_)) / sectorSize_;
        miniCutoff_ = le32(at(0x38));
    }

    void readFat()
    {
        const std::uint32_t fatCount = le32(at(0x2C));
        if (fatCount > sectorsInFile_)
            damaged("l'intestazione OLE2 dichiara " + std::to_string(fatCount) +
                    " settori di allocazione, più di quanti ne contenga il file");
        std::vector<std::uint32_t> fatSectors;
        for (std::size_t i = 0; i < headerDifatEntries && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(le32(at(0x4C + 4 * i)));
        const std::size_t perDifat = sectorSize_ / 4 - 1;
        std::uint32_t difat = le32(at(0x44));
        for (std::size_t hops = 0; fatSectors.size() < fatCount; ++hops) {
            if (difat >= sectorsInFile_ || hops > sectorsInFile_)
                damaged("catena DIFAT non valida al settore " + std::to_string(difat));
            for (std::size_t i = 0; i < perDifat && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(le32(at(sectorOffset(difat) + 4 * i)));
            difat = le32(at(sectorOffset(difat) + 4 * perDifat));
        }

        fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
        for (std::uint32_t sector : fatSectors) {
            if (sector >= sectorsInFile_)
                damaged("il file è troncato: il settore di allocazione " + std::to_string(sector) +
                        " è oltre la fine del file");
            for (std::size_t i = 0; i < sectorSize_ / 4; ++i)
                fat_.push_back(le32(at(sectorOffset(sector) + 4 * i)));
        }
        used_.assign(std::min(fat_.size(), sectorsInFile_), false);
        // libgsf reads a truncated file without complaint, so every used sector must be there.
        for (std::size_t s = fat_.size(); s-- > 0;) {
            if (fat_[s] == freeSector)
                continue;
            if (s >= sectorsInFile_)
                damaged("file troncato a " + std::to_string(bytes_.size()) + " byte, manca il settore " + std::to_string(s));
            break;
        }
    }

    // The sectors of a chain in order. A loop, a sector outside the file, a sector already in
    // another chain or a chain shorter than `minimumSectors` is damage.
    std::vector<std::uint32_t> chain(std::uint32_t start, std::size_t minimumSectors, const std::vector<std::uint32_t> &table,
                                     std::vector<bool> &used, const std::string &what)
    {
        std::vector<std::uint32_t> sectors;
        for (std::uint32_t s = start; s != endOfChain;) {
            if (s >= used.size())
                damaged("catena di settori " + what + " non valida: settore " + std::to_string(s) +
                        " inesistente");
            if (used[s])
                damaged("catena di settori " + what + " che ripassa dal settore " + std::to_string(s));
            used[s] = true;
            sectors.push_back(s);
            s = table[s];
            if (s > maxRegularSector && s != endOfChain)
                damaged("catena di settori " + what + " interrotta al settore " + std::to_string(sectors.back()));
        }
        if (sectors.size() < minimumSectors)
            damaged("catena di settori " + what + " più corta del flusso (" + std::to_string(sectors.size()) +
                    " settori invece di " + std::to_string(minimumSectors) + ")");
        return sectors;
    }

    std::vector<std::uint8_t> chainData(std::uint32_t start, std::size_t minimumSectors, const std::string &what)
    {
        std::vector<std::uint8_t> data;
        for (std::uint32_t s : chain(start, minimumSectors, fat_, used_, what))
            data.insert(data.end(), at(sectorOffset(s)), at(sectorOffset(s) + sectorSize_));
        return data;
    }

    std::size_t walkDirectory(const std::vector<std::uint8_t> &directory)
    {
        const std::size_t count = directory.size() / entrySize;
        if (count == 0 || directory[0x42] != typeRoot)
            damaged("la directory del contenitore OLE2 non ha la voce radice");
        // libgsf follows the root's siblings too (and leaks on them); the root has none.
        if (le32(directory.data() + 0x44) != noEntry || le32(directory.data() + 0x48) != noEntry)
            damaged("la voce radice della directory OLE2 non è valida");
        auto entry = [&](std::size_t i) { return directory.data() + i * entrySize; };

        // The root's own chain is the mini stream that small streams live in.
        const std::uint64_t miniStreamSize = le32(entry(0) + 0x78);
        const std::size_t miniStreamSectors =
            miniStreamSize == 0 ? 0
                                : chain(le32(entry(0) + 0x74), std::size_t((miniStreamSize + sectorSize_ - 1) / sectorSize_),
                                        fat_, used_, "del mini stream")
                                      .size();
        std::vector<bool> miniUsed(std::min(miniFat_.size(), miniStreamSectors * (sectorSize_ / 64)), false);

        std::vector<bool> seen(count, false);
        std::vector<std::uint32_t> pending{le32(entry(0) + 0x4C)};
        seen[0] = true;
        std::size_t found = 0;
        while (!pending.empty()) {
            const std::uint32_t index = pending.back();
            pending.pop_back();
            if (index == noEntry)
                continue;
            if (index >= count || seen[index])
                damaged("albero della directory OLE2 non valido alla voce " + std::to_string(index));
            seen[index] = true;
            const std::uint8_t *e = entry(index);
            const std::uint8_t type = e[0x42];
            if (type != typeStorage && type != typeStream)
                damaged("voce " + std::to_string(index) + " della directory OLE2 di tipo non valido");
            ++found;
            pending.push_back(le32(e + 0x44));
            pending.push_back(le32(e + 0x48));
            if (type == typeStorage) {
                pending.push_back(le32(e + 0x4C));
                continue;
            }
            const std::uint64_t size = le32(e + 0x78);
            std::string what = "del flusso \"";
            for (std::size_t c = 0; c + 2 < std::min<std::size_t>(e[0x40], 64); c += 2)
                what += e[c + 1] == 0 && e[c] >= 0x20 && e[c] < 0x7F ? char(e[c]) : '?';
            what += "\"";
            if (size == 0)
                continue;
            if (size < miniCutoff_)
                chain(le32(e + 0x74), std::size_t((size + 63) / 64), miniFat_, miniUsed, what);
            else
                chain(le32(e + 0x74), std::size_t((size + sectorSize_ - 1) / sectorSize_), fat_, used_, what);
        }
        return found;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t sectorSize_ = 512;
    std::size_t sectorsInFile_ = 0;
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<bool> used_; // sectors already in a chain
};

} // namespace

std::size_t checkContainer(std::span<const std::uint8_t> bytes)
{
    return Checker(bytes).run();
}

} // namespace xls
