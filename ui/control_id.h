#pragma once
// Controls and windows are named by typed ids made from the layout table at compile time: a
// name that is not in the table does not compile. An id is the control's row in the table.

#include "ui/form_design.h"

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace adultify {

class FormId;

class ControlId {
  public:
    // From a literal: "Label18", "Form3.HScroll1", "frmAbout" (a window is a control too).
    consteval ControlId(const char* name) : row_(RowOf(name)) {}

    // For names known only at run time (tests, tools); nothing when the table has none.
    [[nodiscard]] static constexpr std::optional<ControlId> Find(std::string_view name) {
        for (std::size_t i = 0; i < kControlCount; ++i)
            if (kControlDesigns[i].name == name) return ControlId(static_cast<std::uint16_t>(i));
        return std::nullopt;
    }
    [[nodiscard]] static constexpr ControlId AtRow(std::size_t row) {
        return ControlId(static_cast<std::uint16_t>(row));
    }

    [[nodiscard]] constexpr std::size_t Row() const { return row_; }
    [[nodiscard]] constexpr const ControlDesign& Design() const { return kControlDesigns[row_]; }
    [[nodiscard]] constexpr std::string_view Name() const { return Design().name; }
    [[nodiscard]] constexpr ControlKind Kind() const { return Design().kind; }
    [[nodiscard]] constexpr bool IsWindow() const { return Kind() == ControlKind::Window; }
    [[nodiscard]] constexpr bool Reports(UiEvent e) const {
        return (Design().events & MaskOf(e)) != 0;
    }
    // The window the control lies on (a window's own is itself).
    [[nodiscard]] constexpr FormId Form() const;

    friend constexpr bool operator==(ControlId, ControlId) = default;
    friend constexpr auto operator<=>(ControlId, ControlId) = default;

  private:
    constexpr explicit ControlId(std::uint16_t row) : row_(row) {}
    static consteval std::uint16_t RowOf(std::string_view name) {
        for (std::size_t i = 0; i < kControlCount; ++i)
            if (kControlDesigns[i].name == name) return static_cast<std::uint16_t>(i);
        throw "no control of that name in the layout table";
    }

    std::uint16_t row_;
};

class FormId {
  public:
    consteval FormId(const char* name) : id_(name) {
        if (!id_.IsWindow()) throw "not a window of the layout table";
    }
    [[nodiscard]] static constexpr FormId Of(ControlId control) {
        std::size_t row = control.Row();
        while (kControlDesigns[row].kind != ControlKind::Window)
            --row;
        return FormId(ControlId::AtRow(row));
    }

    // The n-th window of the table, 0 first.
    [[nodiscard]] static constexpr FormId Nth(std::size_t n) {
        for (std::size_t row = 0;; ++row)
            if (kControlDesigns[row].kind == ControlKind::Window && n-- == 0)
                return FormId(ControlId::AtRow(row));
    }

    [[nodiscard]] constexpr ControlId Control() const { return id_; }
    [[nodiscard]] constexpr std::string_view Name() const { return id_.Name(); }
    [[nodiscard]] constexpr const ControlDesign& Design() const { return id_.Design(); }
    // The window's controls, the window itself not included.
    [[nodiscard]] constexpr std::span<const ControlDesign> Controls() const {
        std::size_t end = id_.Row() + 1;
        while (end < kControlCount && kControlDesigns[end].kind != ControlKind::Window)
            ++end;
        return std::span(kControlDesigns).subspan(id_.Row() + 1, end - id_.Row() - 1);
    }
    [[nodiscard]] constexpr ControlId IdOf(const ControlDesign& c) const {
        return ControlId::AtRow(static_cast<std::size_t>(&c - kControlDesigns));
    }

    friend constexpr bool operator==(FormId, FormId) = default;

  private:
    constexpr explicit FormId(ControlId id) : id_(id) {}
    ControlId id_;
};

constexpr FormId ControlId::Form() const {
    return FormId::Of(*this);
}

inline constexpr std::size_t kFormCount = [] {
    std::size_t n = 0;
    for (const ControlDesign& c : kControlDesigns)
        n += c.kind == ControlKind::Window ? 1 : 0;
    return n;
}();

inline std::ostream& operator<<(std::ostream& out, ControlId id) {
    return out << id.Name();
}
inline std::ostream& operator<<(std::ostream& out, FormId id) {
    return out << id.Name();
}

// Every window, in table order.
[[nodiscard]] constexpr std::array<FormId, kFormCount> AllForms() {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<FormId, kFormCount>{FormId::Nth(I)...};
    }
    (std::make_index_sequence<kFormCount>());
}

// The main window: loaded from the start, it closes only when the program ends.
inline constexpr FormId kMainForm = [] {
    for (std::size_t n = 0;; ++n)
        if (FormId::Nth(n).Design().style == WindowStyle::Main) return FormId::Nth(n);
}();

// The hidden picture box that holds the stock picture (a red prohibition sign on black).
inline constexpr ControlId kStockPictureHolder = [] {
    for (std::size_t row = 0;; ++row)
        if (kControlDesigns[row].image == Image::Stock) return ControlId::AtRow(row);
}();

// A place relative to the control's container, moved into its window's client area: frames
// place what they hold relative to themselves, so the offsets of every container up to the
// window are added.
[[nodiscard]] constexpr LaidOut InItsWindow(LaidOut place, const ControlDesign& c) {
    for (std::string_view parent = c.parent; !parent.empty();) {
        const ControlDesign& p = ControlId::Find(parent)->Design();
        place.x += p.x;
        place.y += p.y;
        parent = p.parent;
    }
    return place;
}

// The control whose enabled state says whether the window has unsaved edits.
[[nodiscard]] constexpr std::optional<ControlId> UnsavedMarker(FormId form) {
    for (const ControlDesign& c : form.Controls())
        if (c.marksUnsaved) return form.IdOf(c);
    return std::nullopt;
}

// The title of a window with unsaved edits: "*Adultify", the mark in front as Windows' own
// editors and GNOME's put it, the same in every window layer.
[[nodiscard]] inline std::string MarkedTitle(std::string_view title) {
    // Appended, not "*" + title: MinGW's GCC 12 at -O3 takes that for an overlapping copy.
    std::string marked(1, '*');
    marked.append(title);
    return marked;
}

// The ten boxes of the skill dialog, index 0 first.
inline constexpr std::array<ControlId, 10> kShape2 = {
    "Form3.Shape2(0)", "Form3.Shape2(1)", "Form3.Shape2(2)", "Form3.Shape2(3)", "Form3.Shape2(4)",
    "Form3.Shape2(5)", "Form3.Shape2(6)", "Form3.Shape2(7)", "Form3.Shape2(8)", "Form3.Shape2(9)"};

// The games menu's entries, the first game found first.
inline constexpr std::array<ControlId, 9> kGameEntries = {
    "menu_game(1)", "menu_game(2)", "menu_game(3)", "menu_game(4)", "menu_game(5)",
    "menu_game(6)", "menu_game(7)", "menu_game(8)", "menu_game(9)"};

} // namespace adultify
