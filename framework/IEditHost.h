// IEditHost: what the editor core and the controls need of the plug-in. Edits are bracketed by
// begin and end notifications for the host's automation; a wheel edit ends after a delay so that
// a burst of steps makes one gesture. Parameter records are read-only here.
#pragma once

#include <cstdint>

class IParamDef;

class IEditHost {
public:
    // The host's edit gesture for a parameter: opened, then closed.
    virtual bool BeginParamEdit(int index) = 0;
    virtual bool EndParamEdit(int index) = 0;
    // The user set a normalised value: the parameter takes it, the host hears of it and the
    // effect applies it.
    virtual void SetParamFromEditor(int index, double normalized) = 0;
    // Wheel edits: the end is sent when the editor's countdown expires (FlushDelayedParamEdit).
    virtual void BeginDelayedParamEdit(int index) = 0;
    virtual void EndDelayedParamEdit(int index) = 0;
    virtual void FlushDelayedParamEdit() = 0;
    // The record of a parameter, null for an index out of range.
    virtual const IParamDef* ParamRecord(int index) const = 0;
    virtual int ParamCount() const = 0;
    // Changes made on the host's side (automation, presets, restored state), which the editor
    // shows on its next frame: a count per parameter that moves on with each one, and the
    // normalised value to show.
    virtual std::uint32_t HostChangeSerial(int index) const = 0;
    virtual double HostChangeValue(int index) const = 0;
    virtual void OnMouseOverParam(int index) = 0;
    // The start of every editor frame, on the UI thread: the plug-in may call the host from here.
    virtual void OnEditorFrame() {}
    // Asks the host to give the editor's view a new size.
    virtual void ResizeEditorWindow(int width, int height) = 0;

protected:
    ~IEditHost() = default;
};
