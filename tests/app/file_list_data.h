// A file manager's side of a drop: a data object that carries one CF_HDROP
// block (built with tests/gui/drop_blocks.h).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstring>

#include "tests/gui/drop_blocks.h"

// Hands the block out as fresh global memory on every GetData.
class FileListData final : public IDataObject {
public:
    explicit FileListData(Bytes block) : block_(std::move(block)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_INVALIDARG;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK || !medium) return DV_E_FORMATETC;
        HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, block_.size());
        void* memory = handle ? GlobalLock(handle) : nullptr;
        if (!memory) return E_OUTOFMEMORY;
        std::memcpy(memory, block_.data(), block_.size());
        GlobalUnlock(handle);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = handle;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        bool ours = format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
                    format->dwAspect == DVASPECT_CONTENT;
        return ours ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    Bytes block_;
    ULONG references_ = 1;
};

