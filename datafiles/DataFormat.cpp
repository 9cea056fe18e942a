#include "datafiles/DataFormat.h"

#include "datafiles/ALNDFile.h"
#include "datafiles/ALNPCIDFile.h"
#include "datafiles/LDFile.h"
#include "datafiles/SDFile.h"
#include "datafiles/internal/RecordWalk.h"

#include <algorithm>

namespace lm {

namespace {

template <class Format> std::unique_ptr<AWDiskFile> MakeReader(BinaryFile& file)
{
    return std::make_unique<Format>(file);
}

// The reader must be of the same class; the table only pairs a writer with its own reader.
template <class Format> std::unique_ptr<AWDiskFile> MakeWriter(AWDiskFile& reader, BinaryFile& target)
{
    return std::make_unique<Format>(static_cast<Format&>(reader), target);
}

const std::vector<DataFormat>& Table()
{
    static const std::vector<DataFormat> formats = {
        {dtSpartan,
         "Spartan 3000",
         "Spartan 3000",
         {"dta", "dtt"},
         {".DTA", ".DTT", ".SDA", ".SDT"},
         IsSpartanFile,
         MakeReader<SDFile>,
         MakeWriter<SDFile>,
         2,
         0,
         WalkRecordsOf<SDFile>},
        {dtDisp,
         "Locan AT/Spartan AT/Spartan 2000/Disp/Mistras",
         "DiSP and Samos",
         {"dta"},
         {".DTA", ".LDA", ".LDT"},
         IsDispFile,
         MakeReader<LDFile>,
         MakeWriter<LDFile>,
         3,
         1,
         WalkRecordsOf<LDFile>},
        {dtAmsy, "AMSY 3/4/5", nullptr, {}, {}, nullptr, nullptr, nullptr, -1, -1, nullptr},
        {dtAlineIsa,
         "Aline ISA",
         nullptr,
         {},
         {},
         IsAlineIsaFile,
         MakeReader<ALNDFile>,
         nullptr,
         0,
         -1,
         WalkRecordsOf<ALNDFile>},
        {dtAlinePci,
         "Aline PCI",
         "ALine32D",
         {"ald"},
         {".ALD"},
         IsAlinePciFile,
         MakeReader<ALNPCIDFile>,
         MakeWriter<ALNPCIDFile>,
         1,
         2,
         WalkRecordsOf<ALNPCIDFile>},
    };
    return formats;
}

std::vector<const DataFormat*> Order(int DataFormat::*priority)
{
    std::vector<const DataFormat*> order;
    for (const DataFormat& format : Table())
        if (format.*priority >= 0)
            order.push_back(&format);
    std::sort(order.begin(), order.end(),
              [&](const DataFormat* a, const DataFormat* b) { return a->*priority < b->*priority; });
    return order;
}

} // namespace

std::span<const DataFormat> DataFormats()
{
    return Table();
}

const DataFormat* FindDataFormat(int type)
{
    for (const DataFormat& format : Table())
        if (format.type == type)
            return &format;
    return nullptr;
}

const std::vector<const DataFormat*>& LoadingOrder()
{
    static const std::vector<const DataFormat*> order = Order(&DataFormat::loadingPriority);
    return order;
}

const std::vector<const DataFormat*>& WritingOrder()
{
    static const std::vector<const DataFormat*> order = Order(&DataFormat::writingPriority);
    return order;
}

} // namespace lm
