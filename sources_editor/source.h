#pragma once
// Source records of the editor: the interface cZdroje and its three kinds, each turning
// itself into and out of one line of the points, description and dust files.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/source_layout.h"
#include "source_coordinate.h"

namespace ovd {

// What a source dialog hands back on OK; the number itself is not editable there.
struct SourceEdit {
    std::string name;
    Coordinate x = {}, y = {}, z = {};
    std::int32_t cluster = 0, group = 0;
    std::vector<float> parameters;  // as many as the kind has
    std::string dust;               // the dust text (point sources write it)
};

class cZdroje {
public:
    virtual ~cZdroje() = default;

    virtual int Icon() const = 0;
    virtual std::string TypZdroje() const = 0;
    virtual std::string NazevZdroje() const = 0;
    virtual int CKU() const = 0;
    virtual std::int32_t Komin() const = 0;
    virtual std::int32_t ICZ() const = 0;
    // Stores the number and names the source after its kind and number.
    virtual void ICZ(std::int32_t number) = 0;
    virtual std::string LineSource() const = 0;
    virtual void LineSource(std::string_view line) = 0;
    virtual std::string LineParameters() const = 0;
    virtual void LineParameters(std::string_view line) = 0;
    virtual std::string LineDust() const = 0;
    // Stores the dust text as given.
    virtual void LineDust(std::string_view dust) = 0;
    virtual bool EditOk() const = 0;
    virtual int TypZdrojeID() const = 0;
    virtual int parameterCount() const = 0;
    // Index 0..parameterCount()-1; any other index is a programming error.
    virtual float Parameters(int i) const = 0;
    virtual void Parameters(int i, float value) = 0;
    virtual double x() const = 0;
    virtual void x(std::int32_t value) = 0;
    virtual double Y() const = 0;
    virtual void Y(std::int32_t value) = 0;

    // Fields shown in the dialog but not part of the slot list above.
    virtual double Z() const = 0;
    // X, Y and Z with their decimals as loaded.
    virtual const Coordinate& coordinateX() const = 0;
    virtual const Coordinate& coordinateY() const = 0;
    virtual const Coordinate& coordinateZ() const = 0;
    virtual std::int32_t Shluk() const = 0;
    virtual std::int32_t Skupina() const = 0;
    virtual const std::string& Prach() const = 0;

    // The dialog's outcome: OK takes the values over, Storno changes nothing.
    virtual void finishEdit(bool ok, const SourceEdit& values) = 0;
    // Fields that read from a line as out of range since the last call (read as 0).
    virtual int takeOutOfRangeCount() = 0;
};

// The data and line handling the three kinds share.
class EditorSourceBase : public cZdroje {
public:
    int Icon() const override { return m_kind.icon; }
    std::string TypZdroje() const override { return m_kind.name; }
    int TypZdrojeID() const override { return m_kind.typeId; }
    int CKU() const override { return 0; }
    std::int32_t Komin() const override { return m_kind.komin; }
    std::string NazevZdroje() const override { return m_name; }
    std::int32_t ICZ() const override { return m_number; }
    void ICZ(std::int32_t number) override;
    std::string LineSource() const override;
    void LineSource(std::string_view line) override;
    std::string LineParameters() const override;
    void LineParameters(std::string_view line) override;
    std::string LineDust() const override;
    void LineDust(std::string_view dust) override { m_dust = std::string(dust); }
    bool EditOk() const override { return m_editOk; }
    int parameterCount() const override { return static_cast<int>(m_parameters.size()); }
    float Parameters(int i) const override;
    void Parameters(int i, float value) override;
    double x() const override { return m_x.value(); }
    void x(std::int32_t value) override { m_x = Coordinate::whole(value); }
    double Y() const override { return m_y.value(); }
    void Y(std::int32_t value) override { m_y = Coordinate::whole(value); }
    double Z() const override { return m_z.value(); }
    const Coordinate& coordinateX() const override { return m_x; }
    const Coordinate& coordinateY() const override { return m_y; }
    const Coordinate& coordinateZ() const override { return m_z; }
    std::int32_t Shluk() const override { return m_cluster; }
    std::int32_t Skupina() const override { return m_group; }
    const std::string& Prach() const override { return m_dust; }
    void finishEdit(bool ok, const SourceEdit& values) override;
    int takeOutOfRangeCount() override;

protected:
    // What sets one kind apart: its parameters, its chimney flag, icon, name and type.
    struct Kind {
        int parameterCount;
        std::int32_t komin;
        int icon;
        const char* name;
        int typeId;
    };
    explicit EditorSourceBase(const Kind& kind);
    virtual int typeDigit() const { return TypZdrojeID(); }
    // Description values written: a point source adds a ninth 0.
    virtual int writtenValueCount() const { return parameterCount(); }

private:
    Kind m_kind;
    std::int32_t m_number = 0;
    std::string m_name;
    Coordinate m_x, m_y, m_z;
    std::int32_t m_cluster = 0, m_group = 0;
    std::vector<float> m_parameters;
    std::string m_dust = "0,0,0";
    bool m_editOk = false;
    int m_outOfRange = 0;
};

class cBodovyZdroj final : public EditorSourceBase {
public:
    cBodovyZdroj()
        : EditorSourceBase({kPointParamCount, 1, 1, "Bodový zdroj", kPointSource})
    { }
    using EditorSourceBase::LineDust;
    std::string LineDust() const override;

protected:
    int writtenValueCount() const override { return kDescriptionValueCount; }
};

class cPlosnyZdroj final : public EditorSourceBase {
public:
    cPlosnyZdroj()
        : EditorSourceBase({kAreaParamCount, 0, 3, "Plošný zdroj", kAreaSource})
    { }
    bool plumeRise() const
    {
        return givesPlumeRise(Parameters(StackParam::kDiameter), Parameters(StackParam::kExitVelocity));
    }
};

class cLiniovyZdroj final : public EditorSourceBase {
public:
    cLiniovyZdroj()
        : EditorSourceBase({kLineParamCount, 0, 2, "Liniový zdroj", kLineSource})
    { }
};

// A source of kind 1, 2 or 3; nullptr for any other kind.
std::unique_ptr<cZdroje> createSource(int kind);

// The middle of a line segment from its end points X1el, Y1el, X2el, Y2el,
// rounded halves to even. False (nothing changed) when the middle lies beyond 32 bits.
bool middlePoint(float x1, float y1, float x2, float y2, std::int32_t& x, std::int32_t& y);

}  // namespace ovd
