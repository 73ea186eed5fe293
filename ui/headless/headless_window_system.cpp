#include "ui/headless/headless_window_system.h"

#include "ui/form_design.h"

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace adultify {

namespace {
constexpr double kDay = 86400.0;
const std::vector<std::string> kNoHistory;
const std::vector<DrawOp> kNoOps;
} // namespace

HeadlessWindowSystem::HeadlessWindowSystem(double startTimeOfDay) : clock_(startTimeOfDay) {
    for (const FormDesign& form : AllFormDesigns())
        ResetForm(form.name);
    forms_["Form1"].loaded = true;
}

void HeadlessWindowSystem::ResetForm(std::string_view form) {
    const FormDesign& design = FormDesignOf(form);
    for (const ControlDesign& c : design.controls) {
        Control fresh;
        fresh.caption = std::string(c.caption);
        fresh.enabled = c.enabled;
        fresh.checked = c.checked;
        // Bordered picture boxes lose two pixels a side to the border.
        fresh.innerWidth = static_cast<float>(c.width - 4);
        fresh.innerHeight = static_cast<float>(c.height - 4);
        auto it = controls_.find(c.name);
        if (it != controls_.end()) fresh.history = std::move(it->second.history);
        controls_[std::string(c.name)] = std::move(fresh);
    }
    controls_[std::string(form)].caption = std::string(design.caption);
    if (form == "Form1")
        controls_[std::string(kStockPictureBox)].picture = {HeadlessPicture::Kind::Stock, 25, 25};
}

HeadlessWindowSystem::Control& HeadlessWindowSystem::At(std::string_view control) {
    auto it = controls_.find(control);
    if (it == controls_.end()) throw std::out_of_range("no control named " + std::string(control));
    return it->second;
}

const HeadlessWindowSystem::Control* HeadlessWindowSystem::Find(std::string_view control) const {
    auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : &it->second;
}

void HeadlessWindowSystem::SetCaption(std::string_view control, std::string_view text) {
    Control& c = At(control);
    c.caption = std::string(text);
    c.history.push_back(c.caption);
    if (onCaption) onCaption(control, text);
}

std::string HeadlessWindowSystem::Caption(std::string_view control) const {
    const Control* c = Find(control);
    return c ? c->caption : std::string();
}

void HeadlessWindowSystem::SetEnabled(std::string_view control, bool enabled) {
    At(control).enabled = enabled;
}

bool HeadlessWindowSystem::IsEnabled(std::string_view control) const {
    const Control* c = Find(control);
    return c && c->enabled;
}

void HeadlessWindowSystem::SetChecked(std::string_view menuEntry, bool checked) {
    At(menuEntry).checked = checked;
}

bool HeadlessWindowSystem::IsChecked(std::string_view menuEntry) const {
    const Control* c = Find(menuEntry);
    return c && c->checked;
}

void HeadlessWindowSystem::ListClear(std::string_view list) {
    Control& c = At(list);
    c.items.clear();
    c.selected = -1;
}

void HeadlessWindowSystem::ListAdd(std::string_view list, std::string_view item) {
    At(list).items.emplace_back(item);
}

int HeadlessWindowSystem::ListCount(std::string_view list) const {
    const Control* c = Find(list);
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string HeadlessWindowSystem::ListItem(std::string_view list, int index) const {
    const Control* c = Find(list);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return {};
    return c->items[static_cast<std::size_t>(index)];
}

bool HeadlessWindowSystem::ListSelected(std::string_view list, int index) const {
    const Control* c = Find(list);
    return c && index >= 0 && c->selected == index;
}

void HeadlessWindowSystem::ListSelect(std::string_view list, int index) {
    Control& c = At(list);
    c.selected = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
    if (list == "Combo1")
        c.caption = c.selected >= 0 ? c.items[static_cast<std::size_t>(c.selected)] : "";
}

std::vector<std::string> HeadlessWindowSystem::ListItems(std::string_view list) const {
    const Control* c = Find(list);
    return c ? c->items : std::vector<std::string>{};
}

bool HeadlessWindowSystem::SetPictureBitmap(std::string_view box, const Bytes& bmpFile) {
    QImage image;
    if (!image.loadFromData(bmpFile.data(), static_cast<int>(bmpFile.size())) || image.isNull())
        return false;
    At(box).picture = {HeadlessPicture::Kind::Bitmap, image.width(), image.height()};
    return true;
}

void HeadlessWindowSystem::SetPictureStock(std::string_view box) {
    At(box).picture = {HeadlessPicture::Kind::Stock, 25, 25};
}

void HeadlessWindowSystem::CopyPicture(std::string_view from, std::string_view to) {
    At(to).picture = At(from).picture;
}

HeadlessPicture HeadlessWindowSystem::Picture(std::string_view box) const {
    const Control* c = Find(box);
    return c ? c->picture : HeadlessPicture{};
}

void HeadlessWindowSystem::PictureClear(std::string_view box) {
    Control& c = At(box);
    c.drawOps.clear();
    c.drawOps.push_back({DrawOp::Kind::Clear, 0, 0, 0, 0, 0, std::nullopt, c.lineWidth});
}

void HeadlessWindowSystem::SetLineWidth(std::string_view box, int width) {
    At(box).lineWidth = width;
}

void HeadlessWindowSystem::FillRect(std::string_view box, float x1, float y1, float x2, float y2,
                                    Rgb colour) {
    Control& c = At(box);
    c.drawOps.push_back({DrawOp::Kind::Fill, x1, y1, x2, y2, 0, colour, c.lineWidth});
}

void HeadlessWindowSystem::DrawLine(std::string_view box, float x1, float y1, float x2, float y2,
                                    Rgb colour) {
    Control& c = At(box);
    c.drawOps.push_back({DrawOp::Kind::Line, x1, y1, x2, y2, 0, colour, c.lineWidth});
}

void HeadlessWindowSystem::DrawArc(std::string_view box, float cx, float cy, float radius,
                                   float fromAngle, float toAngle, std::optional<Rgb> colour) {
    Control& c = At(box);
    c.drawOps.push_back(
        {DrawOp::Kind::Arc, cx, cy, radius, fromAngle, toAngle, colour, c.lineWidth});
}

const std::vector<DrawOp>& HeadlessWindowSystem::DrawOps(std::string_view box) const {
    const Control* c = Find(box);
    return c ? c->drawOps : kNoOps;
}

float HeadlessWindowSystem::ScaleWidth(std::string_view box) const {
    const Control* c = Find(box);
    return c ? c->innerWidth : 0;
}

float HeadlessWindowSystem::ScaleHeight(std::string_view box) const {
    const Control* c = Find(box);
    return c ? c->innerHeight : 0;
}

void HeadlessWindowSystem::SetScrollRange(std::string_view bar, int min, int max, int smallChange,
                                          int largeChange) {
    Control& c = At(bar);
    c.min = min;
    c.max = max;
    c.smallChange = smallChange;
    c.largeChange = largeChange;
    c.value = std::clamp(c.value, std::min(min, max), std::max(min, max));
}

bool HeadlessWindowSystem::SetScrollValue(std::string_view bar, int value) {
    Control& c = At(bar);
    if (value < std::min(c.min, c.max) || value > std::max(c.min, c.max))
        throw std::out_of_range("scroll bar value outside its range");
    const bool changed = c.value != value;
    c.value = value;
    return changed;
}

int HeadlessWindowSystem::ScrollValue(std::string_view bar) const {
    const Control* c = Find(bar);
    return c ? c->value : 0;
}

void HeadlessWindowSystem::SetFillStyle(std::string_view shape, int style) {
    At(shape).fillStyle = style;
}

int HeadlessWindowSystem::FillStyle(std::string_view shape) const {
    const Control* c = Find(shape);
    return c ? c->fillStyle : 1;
}

void HeadlessWindowSystem::SetWindowIcon(int index) {
    icon_ = index;
    iconHistory_.push_back(index);
}

void HeadlessWindowSystem::LoadForm(std::string_view form) {
    auto& f = forms_[std::string(form)];
    if (f.loaded) return;
    ResetForm(form);
    f.loaded = true;
}

void HeadlessWindowSystem::ShowForm(std::string_view form) {
    LoadForm(form);
    forms_[std::string(form)].shown = true;
}

void HeadlessWindowSystem::ShowModal(std::string_view form) {
    ShowForm(form);
    if (onModal) onModal(form);
    // A window the script left open is closed through its close box.
    if (IsLoaded(form)) UnloadForm(form);
}

void HeadlessWindowSystem::UnloadForm(std::string_view form) {
    auto& f = forms_[std::string(form)];
    f.loaded = false;
    f.shown = false;
}

bool HeadlessWindowSystem::IsLoaded(std::string_view form) const {
    auto it = forms_.find(form);
    return it != forms_.end() && it->second.loaded;
}

bool HeadlessWindowSystem::IsShown(std::string_view form) const {
    auto it = forms_.find(form);
    return it != forms_.end() && it->second.shown;
}

MsgAnswer HeadlessWindowSystem::MessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                           std::string_view title) {
    MessageRecord record{std::string(text), buttons, icon, std::string(title),
                         buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No};
    if (answerMessage) record.answer = answerMessage(record);
    messages_.push_back(record);
    if (onMessage) onMessage(record);
    return record.answer;
}

void HeadlessWindowSystem::SetPointer(MousePointer pointer) {
    pointer_ = pointer;
    pointerHistory_.push_back(pointer);
}

void HeadlessWindowSystem::ShellOpen(std::string_view, std::string_view document) {
    shellOpened_.emplace_back(document);
}

void HeadlessWindowSystem::SeedRandom(double seed) {
    rng_.seed(forcedSeed_ ? *forcedSeed_
                          : static_cast<std::uint32_t>(std::fmod(seed * 1000.0, 4294967296.0)));
}

float HeadlessWindowSystem::Random() {
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
}

void HeadlessWindowSystem::EndProgram(int exitCode) {
    ended_ = true;
    exitCode_ = exitCode;
    for (auto& [name, form] : forms_)
        form = Form{};
}

void HeadlessWindowSystem::IdleTurn(double) {
    ProcessEvents();
    AdvanceClock(0.01);
}

void HeadlessWindowSystem::AdvanceClock(double seconds) {
    clock_ = std::fmod(clock_ + seconds, kDay);
}

const std::vector<std::string>&
HeadlessWindowSystem::CaptionHistory(std::string_view control) const {
    const Control* c = Find(control);
    return c ? c->history : kNoHistory;
}

} // namespace adultify
