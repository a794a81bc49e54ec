#include "hostkit/twscan_receive.h"

#include <cstdio>
#include <string>
#include <vector>

#include "hostkit/image_file.h"
#include "hostkit/memory_block.h"
#include "hostkit/output_file.h"
#include "hostkit/twscan_acquire.h"
#include "hostkit/twscan_progress.h"

namespace {

using imagefile::ImageFileLayout;
using imagefile::ImageFormat;
using imagefile::ImageShape;

int Fail(const std::string& message) {
    std::fprintf(stderr, "twscan: %s\n", message.c_str());
    return kTwscanFailure;
}

// The exit status of a transfer call that did not deliver the image.
int TransferEnded(HostSession& host, TW_UINT16 dat, TW_UINT16 rc) {
    if (rc == TWRC_CANCEL) return Fail("the scan was cancelled; no image written");
    return ReportFailure(DG_IMAGE, dat, MSG_GET, rc, host.ConditionCode());
}

// Memory blocks into the layout's file, row by row where each belongs.
int ReceiveByMemory(HostSession& host, const ImageFileLayout& layout, OutputFile& file) {
    if (!WriteOutputAt(file, 0, layout.header.data(), layout.header.size())) return Fail(file.error);
    TW_SETUPMEMXFER setup{};
    TW_UINT16 rc = host.Ds(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup);
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, rc, host.ConditionCode());
    const uint32_t length = imagefile::MemoryBufferSize(setup);
    std::vector<uint8_t> buffer(length);
    std::vector<uint8_t> fileRow(layout.rowBytes);
    const ImageShape& shape = layout.shape;
    TransferProgress progress(shape.height);
    uint32_t rows = 0;
    for (bool last = false; !last;) {
        TW_IMAGEMEMXFER block{};
        block.Memory = {TWMF_APPOWNS | TWMF_POINTER, length,
                        TwainRef(buffer.data())};
        rc = host.Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &block);
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
            progress.Finish();
            return TransferEnded(host, DAT_IMAGEMEMXFER, rc);
        }
        last = rc == TWRC_XFERDONE;
        std::string error;
        if (!imagefile::CheckMemoryBlock(block, shape, length, rows, last, error)) {
            progress.Finish();
            return Fail("the memory transfer is faulty: " + error);
        }
        for (uint32_t i = 0; i < block.Rows; ++i) {
            imagefile::MakeFileRow(layout, buffer.data() + uint64_t{i} * block.BytesPerRow, fileRow.data());
            if (!WriteOutputAt(file, imagefile::RowOffset(layout, rows + i), fileRow.data(), fileRow.size())) {
                progress.Finish();
                return Fail(file.error);
            }
        }
        rows += block.Rows;
        progress.Update(rows);
    }
    progress.Finish();
    if (rows != shape.height)
        return Fail("the memory transfer ended after " + std::to_string(rows) + " of " +
                    std::to_string(shape.height) + " rows");
    return 0;
}

// The packed bitmap of a native transfer behind a BMP file header. The host
// owns the bitmap and frees it.
int ReceiveNative(HostSession& host, const ImageShape& shape, OutputFile& file) {
    std::fprintf(stderr, "twscan: receiving the image by native transfer\n");
    TW_HANDLE handle = 0;
    TW_UINT16 rc = host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    auto dib = TwainPointer<HGLOBAL>(handle);
    if (rc != TWRC_XFERDONE) {
        if (dib) GlobalFree(dib);
        return TransferEnded(host, DAT_IMAGENATIVEXFER, rc);
    }
    const auto* bytes = dib ? static_cast<const uint8_t*>(GlobalLock(dib)) : nullptr;
    if (!bytes) {
        if (dib) GlobalFree(dib);
        return Fail("the native transfer handed over no bitmap");
    }
    std::vector<uint8_t> header;
    imagefile::DibExtent extent;
    std::string error;
    int status = 0;
    if (!imagefile::BmpFileHeaderForDib(bytes, GlobalSize(dib), header, extent, error)) {
        status = Fail("the native transfer's bitmap is faulty: " + error);
    } else if (!WriteOutputAt(file, 0, header.data(), header.size()) ||
               !WriteOutputAt(file, header.size(), bytes, extent.bytes)) {
        status = Fail(file.error);
    } else if (extent.width != shape.width || extent.height != shape.height) {
        std::fprintf(stderr, "twscan: warning: the bitmap is %u x %u pixels, DAT_IMAGEINFO said %u x %u\n",
                     extent.width, extent.height, shape.width, shape.height);
    }
    GlobalUnlock(dib);
    GlobalFree(dib);
    return status;
}

// The source writes options.out itself.
int ReceiveFile(HostSession& host, const TwscanOptions& options) {
    std::fprintf(stderr, "twscan: receiving the image by file transfer\n");
    TW_UINT16 rc = host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    if (rc != TWRC_XFERDONE) return TransferEnded(host, DAT_IMAGEFILEXFER, rc);
    if (GetFileAttributesA(options.out.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Fail("the file transfer is done, but " + options.out + " does not exist");
    return 0;
}

// Back to state 5: MSG_ENDXFER after a transfer; MSG_RESET when none was
// made, or when the source has further images (twscan takes one).
void EndImage(HostSession& host, bool transferred) {
    TW_PENDINGXFERS pending{};
    TW_UINT16 msg = transferred ? MSG_ENDXFER : MSG_RESET;
    TW_UINT16 rc = host.Ds(DG_CONTROL, DAT_PENDINGXFERS, msg, &pending);
    if (rc == TWRC_SUCCESS && transferred && pending.Count != 0) {
        msg = MSG_RESET;
        rc = host.Ds(DG_CONTROL, DAT_PENDINGXFERS, msg, &pending);
    }
    if (rc != TWRC_SUCCESS) ReportFailure(DG_CONTROL, DAT_PENDINGXFERS, msg, rc, host.ConditionCode());
}

// What twscan prepares before it asks for the image: for native and memory
// transfers the image's shape, the file layout (memory) and the open file.
// False, with the reason, when the image cannot be received.
bool Prepare(const TwscanOptions& options, const TW_IMAGEINFO& info, ImageFileLayout& layout, OutputFile& file,
             std::string& error) {
    if (options.xferMech == TWSX_FILE) return true;
    if (!imagefile::ShapeFromImageInfo(info, layout.shape, error)) return false;
    if (options.xferMech == TWSX_NATIVE && layout.shape.bitsPerPixel > 24) {
        error = "a native transfer carries bitmaps of 1, 8 or 24 bits per pixel only";
        return false;
    }
    const ImageFormat format = options.fileFormat == TWFF_TIFF ? ImageFormat::kTiff : ImageFormat::kBmp;
    if (options.xferMech == TWSX_MEMORY && !imagefile::PlanImageFile(layout.shape, format, layout, error))
        return false;
    if (CreateOutputFile(file, options.out)) return true;
    error = file.error;
    return false;
}

}  // namespace

int ReceiveImage(HostSession& host, const TwscanOptions& options) {
    TW_IMAGEINFO info{};
    TW_UINT16 rc = host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    if (rc != TWRC_SUCCESS) {
        int status = ReportFailure(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, rc, host.ConditionCode());
        EndImage(host, false);
        return status;
    }
    std::fprintf(stderr, "twscan: the source has an image of %ld x %ld pixels, %d bits per pixel, %d dpi\n",
                 static_cast<long>(info.ImageWidth), static_cast<long>(info.ImageLength), info.BitsPerPixel,
                 info.XResolution.Whole);
    ImageFileLayout layout;
    OutputFile file;
    std::string error;
    if (!Prepare(options, info, layout, file, error)) {
        EndImage(host, false);
        return Fail(error);
    }
    int status = 0;
    if (options.xferMech == TWSX_FILE)
        status = ReceiveFile(host, options);
    else if (options.xferMech == TWSX_NATIVE)
        status = ReceiveNative(host, layout.shape, file);
    else
        status = ReceiveByMemory(host, layout, file);
    EndImage(host, true);
    if (status == 0 && options.xferMech != TWSX_FILE && !KeepOutputFile(file)) status = Fail(file.error);
    if (status == 0)
        std::fprintf(stderr, "twscan: wrote %s\n", options.out.c_str());
    return status;
}
