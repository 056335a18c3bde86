#include "render/lines.h"

#include "render/rounding.h"

#include "core/drawing_settings.h"

#include <algorithm>
#include <map>
#include <string>

namespace render {

LineSettings lineSettingsFrom(core::DrawingSettings& settings, float W, float H) {
    if (settings.ラインの太さ <= 0) {
        settings.ラインの太さ = 1;
    }
    LineSettings s;
    s.W = W;
    s.H = H;
    s.ラインの太さ = settings.ラインの太さ;
    s.縦書き = settings.縦書き;
    s.法定相続情報一覧図 = settings.法定相続情報一覧図にする;
    s.相続関係説明図 = settings.相続関係説明図にする;
    s.家族No表示 = settings.家族No表示;
    s.FONT_SIZE = settings.FONT_SIZE;
    return s;
}

LineDrawer::LineDrawer(Canvas& chart, const LineSettings& settings, Canvas* glyphCell)
    : chart_(chart), settings_(settings), glyph_(glyphCell) {
    if (settings_.ラインの太さ <= 0) {
        settings_.ラインの太さ = 1;
    }
    // A fractional thickness is drawn at its rounded width, never below one pixel.
    t_ = std::max(px(settings_.ラインの太さ), 1);
    s_ = t_ / 2;
}

// A bar as a filled rectangle in the line colour, both corners included. Orientation 0:
// across is x, along is y.
void LineDrawer::bar(int orientation, float acrossFrom, float acrossTo, float alongFrom,
                     float alongTo) {
    if (orientation == 0) {
        chart_.fillRect(px(acrossFrom), px(alongFrom), px(acrossTo), px(alongTo), kLineColour);
    } else {
        chart_.fillRect(px(alongFrom), px(acrossFrom), px(alongTo), px(acrossTo), kLineColour);
    }
}

void LineDrawer::gridSingle(int orientation, float x1, float y1, float x2, float y2,
                            bool afterAdoption) {
    GridLine g;
    g.kind = GridLine::Kind::Single;
    g.orientation = orientation;
    g.x1 = x1;
    g.y1 = y1;
    g.x2 = x2;
    g.y2 = y2;
    g.afterAdoption = afterAdoption;
    chart_.gridLine(g);
}

BarExtent LineDrawer::singleBar(int orientation, float x1, float y1, float x2, float y2) {
    const float v = orientation == 0 ? x1 : y1;
    const BarExtent e{t_ > 2 ? v - s_ : v, v + s_};
    if (orientation == 0) {
        bar(0, e.near, e.far, y1, y2);
    } else {
        bar(1, e.near, e.far, x1, x2);
    }
    lastBar_ = e;
    adoption_ = false;
    return e;
}

BarExtent LineDrawer::LINE_SUB1(int orientation, float x1, float y1, float x2, float y2) {
    const BarExtent e = singleBar(orientation, x1, y1, x2, y2);
    gridSingle(orientation, x1, y1, x2, y2);
    return e;
}

BarExtent LineDrawer::siblingBar(int orientation, float x1, float y1, float x2, float y2) {
    // The grid form knows whether the stub before the bar was an adoption line.
    const bool afterAdoption = adoption_;
    const BarExtent e = singleBar(orientation, x1, y1, x2, y2);
    gridSingle(orientation, x1, y1, x2, y2, afterAdoption);
    return e;
}

BarExtent LineDrawer::LINE_SUB2(float x1, float y1, float x2, float y2) {
    // Horizontal writing: the bars are vertical (across is x); vertical writing: horizontal.
    const bool vertical = !settings_.縦書き;
    const float v = vertical ? x1 : y1;
    const float alongFrom = vertical ? y1 : x1;
    const float alongTo = vertical ? y2 : x2;
    const int gap = settings_.縦書き ? half(settings_.H) : half(settings_.W);
    const BarExtent first{v - t_ + 1 - s_, v - s_};
    const float v2 = v + gap;
    const BarExtent second{v2 + s_, v2 + s_ + t_ - 1};
    bar(vertical ? 0 : 1, first.near, first.far, alongFrom, alongTo);
    bar(vertical ? 0 : 1, second.near, second.far, alongFrom, alongTo);

    const float across = first.far + idiv(second.near - first.far, 2);
    const float along = alongFrom + idiv(alongTo - alongFrom, 2);
    marriage_.x = vertical ? across : along;
    marriage_.y = vertical ? along : across;
    marriage_.span = static_cast<float>(px(second.far - first.near) + 8 + t_);
    if (vertical) {
        GridLine g;
        g.kind = GridLine::Kind::Marriage;
        g.x1 = x1;
        g.y1 = y1;
        g.y2 = y2;
        chart_.gridLine(g);
    }
    adoption_ = false;
    return second;
}

BarExtent LineDrawer::LINE_SUB3(int orientation, float x1, float y1, float x2, float y2) {
    const float v = orientation == 0 ? x1 : y1;
    const int gap = settings_.縦書き ? idiv(settings_.H, 4) : idiv(settings_.W, 4);
    const BarExtent first{v - t_ + 1 - s_, v - s_};
    const BarExtent second{v + gap + s_, v + gap + s_ + t_ - 1};
    const float alongFrom = orientation == 0 ? y1 : x1;
    const float alongTo = orientation == 0 ? y2 : x2;
    bar(orientation == 0 ? 0 : 1, first.near, first.far, alongFrom, alongTo);
    bar(orientation == 0 ? 0 : 1, second.near, second.far, alongFrom, alongTo);
    lastBar_ = {first.near, second.far};
    gridSingle(orientation, x1, y1, x2, y2);
    adoption_ = true;
    return second;
}

void LineDrawer::バツイチ_SUB() {
    const int span = px(marriage_.span);
    const int r = half(span);
    const int mx = px(marriage_.x);
    const int my = px(marriage_.y);
    if (settings_.縦書き) {
        for (int x0 = mx - r - s_; x0 <= mx - r + s_; ++x0) {
            chart_.line(x0, my - r, x0 + span, my + r, kLineColour);
            chart_.line(x0, my + r, x0 + span, my - r, kLineColour);
        }
    } else if (!settings_.法定相続情報一覧図) {
        // The statutory list chart shows no divorce cross in horizontal writing.
        for (int y0 = my - r - s_; y0 <= my - r + s_; ++y0) {
            chart_.line(mx - r, y0, mx + r, y0 + span, kLineColour);
            chart_.line(mx + r, y0, mx - r, y0 + span, kLineColour);
        }
    }
    if (!settings_.法定相続情報一覧図) {
        // The text grid shows it only with the lines shown in full.
        GridLine g;
        g.kind = GridLine::Kind::DivorceMark;
        chart_.gridLine(g);
    }
}

float LineDrawer::siblingBarPosition(float end) const {
    return t_ == 2 ? end : end - s_;
}

void LineDrawer::familyLabel(int familyNumber, float x, float y) {
    if (glyph_ == nullptr) {
        return;
    }
    if (!labelCellCleared_) {
        glyph_->fillRect(0, 0, glyph_->width() - 1, glyph_->height() - 1, kBackgroundColour);
        labelCellCleared_ = true;
    }
    glyph_->setFontSize(settings_.FONT_SIZE);
    const std::string label = "(" + std::to_string(familyNumber) + ")";
    const TextEnd end = glyph_->drawText(0, 0, label, kFamilyNumberColour);
    chart_.copyFrom(*glyph_, 0, 0, end.x, end.y, px(x), px(y));
    glyph_->fillRect(0, 0, end.x, end.y, kBackgroundColour);
}

void LineDrawer::drawFamily(const FamilyLines& f) {
    const bool vertical = settings_.縦書き;
    const int children = static_cast<int>(f.positions.size()) - 1;
    if (children < 0) {
        return;
    }
    const float p0 = f.positions[0] + (vertical ? f.baseX : f.baseY);
    const float start =
        f.spousesShown >= 2
            ? drawCouple(f, p0)
            : (vertical ? f.baseY + settings_.H : f.baseX + settings_.W) + f.parentBlockExtent;
    if (settings_.家族No表示) {
        if (vertical) {
            familyLabel(f.familyNumber, p0 + 1, start + 1);
        } else {
            familyLabel(f.familyNumber, start + 1, p0 + 1);
        }
    }
    if (children > 0) {
        drawDescent(f, start);
    }
}

float LineDrawer::drawCouple(const FamilyLines& f, float p0) {
    const float W = settings_.W;
    const float H = settings_.H;
    const bool married = f.形態 == core::UnionForm::Marriage;
    if (!settings_.縦書き) {
        const float axis = f.baseX + (settings_.法定相続情報一覧図 ? 3 : 6) * W;
        if (!married) {
            LINE_SUB1(0, axis, p0 - 2 * H, axis, p0 + 2 * H);
            return axis;
        }
        const float start = LINE_SUB2(axis, p0 - 2 * H, axis, p0 + 2 * H).near;
        if (f.離婚_F == 1) {
            バツイチ_SUB();
        }
        return start;
    }
    const float axis = f.baseY + 6 * H;
    if (!married) {
        LINE_SUB1(1, p0 - 2 * W, axis, p0 + 2 * W, axis);
        return axis;
    }
    const float start = LINE_SUB2(p0 - 2 * W, axis, p0 + 2 * W, axis).near;
    if (f.離婚_F == 1) {
        バツイチ_SUB();
    }
    return start;
}

BarExtent LineDrawer::descentLine(bool adopted, float at, float from, float to) {
    const bool vertical = settings_.縦書き;
    const int orientation = vertical ? 0 : 1;
    const float x1 = vertical ? at : from;
    const float y1 = vertical ? from : at;
    const float x2 = vertical ? at : to;
    const float y2 = vertical ? to : at;
    if (adopted) {
        LINE_SUB3(orientation, x1, y1, x2, y2);
    } else {
        LINE_SUB1(orientation, x1, y1, x2, y2);
    }
    return lastBar_;
}

void LineDrawer::drawDescent(const FamilyLines& f, float start) {
    const float W = settings_.W;
    const float H = settings_.H;
    const bool vertical = settings_.縦書き;
    const int children = static_cast<int>(f.positions.size()) - 1;
    auto p = [&](int k) {
        return f.positions[static_cast<std::size_t>(k)] + (vertical ? f.baseX : f.baseY);
    };
    auto adopted = [&](int k) {
        return static_cast<std::size_t>(k - 1) < f.子の形態.size() &&
               f.子の形態[static_cast<std::size_t>(k - 1)] == core::ChildKind::Adopted;
    };

    // The descent from the couple; an only child that is adopted makes it a double line.
    const float end = vertical ? (settings_.largestBlockHeight + 3 * H) * (f.階層 + 1)
                               : (settings_.largestBlockWidth + 3 * W) * (f.階層 + 1);
    descentLine(children == 1 && adopted(1), p(0), start, end);

    // Stubs from the bar to each child, then the bar from the first stub's near edge to the
    // last stub's far edge.
    const float barAt = siblingBarPosition(end);
    const float stubEnd = end + 1.5f * (vertical ? H : W);
    float firstNear = 0;
    float lastFar = 0;
    for (int k = 1; k <= children; ++k) {
        const BarExtent e = descentLine(adopted(k), p(k), barAt, stubEnd);
        if (k == 1) {
            firstNear = e.near;
        }
        lastFar = e.far;
    }
    if (children > 1) {
        if (vertical) {
            siblingBar(1, firstNear, barAt, lastFar, barAt);
        } else {
            siblingBar(0, barAt, firstNear, barAt, lastFar);
        }
    }
}

void LineDrawer::joinSamePerson(float x1, float y1, float x2, float y2) {
    if (x1 <= 0 || y1 <= 0 || x2 <= 0 || y2 <= 0) {
        return;
    }
    chart_.line(px(x1), px(y1), px(x2), px(y2), linkColour_, PenStyle::Dotted);
    linkColour_ = linkColour_ >= 12 ? 2 : linkColour_ + 2;
}

void LineDrawer::drawSamePersonLinks(const std::vector<PlacedBlock>& blocks) {
    struct Appearances {
        const PlacedBlock* a = nullptr;
        std::vector<const PlacedBlock*> b;
        std::vector<const PlacedBlock*> c;
    };
    std::map<int, Appearances> byPerson;
    for (const auto& block : blocks) {
        auto& ap = byPerson[block.person];
        if (block.tag == 'A' && ap.a == nullptr) {
            ap.a = &block;
        } else if (block.tag == 'B') {
            ap.b.push_back(&block);
        } else if (block.tag == 'C') {
            ap.c.push_back(&block);
        }
    }
    // A block shown again has its anchor at the start of its name; moved along the
    // generation axis by its extent it stands where an own block's anchor would.
    auto moved = [&](const PlacedBlock& block) {
        return settings_.縦書き ? std::pair{block.anchorX, block.anchorY + block.height}
                                : std::pair{block.anchorX + block.width, block.anchorY};
    };
    for (const auto& [person, ap] : byPerson) {
        if (ap.a != nullptr) {
            for (const auto* other : ap.b) {
                joinSamePerson(ap.a->anchorX, ap.a->anchorY, other->anchorX, other->anchorY);
            }
            for (const auto* other : ap.c) {
                joinSamePerson(ap.a->anchorX, ap.a->anchorY, other->anchorX, other->anchorY);
            }
        } else if (!ap.b.empty()) {
            const auto [x, y] = moved(*ap.b.front());
            for (const auto* other : ap.c) {
                joinSamePerson(x, y, other->anchorX, other->anchorY);
            }
        } else if (!ap.c.empty()) {
            const auto [x, y] = moved(*ap.c.front());
            for (std::size_t i = 1; i < ap.c.size(); ++i) {
                joinSamePerson(x, y, ap.c[i]->anchorX, ap.c[i]->anchorY);
            }
        }
    }
}

void LineDrawer::treeSeparator(float origin, float titleColumn) {
    const int size = px(settings_.FONT_SIZE);
    if (settings_.縦書き) {
        const int x = px(origin + (settings_.相続関係説明図 ? titleColumn : 0));
        if (settings_.相続関係説明図 && x >= chart_.width() - size) {
            return;
        }
        chart_.line(x, 0, x, chart_.height() - 1, kLineColour);
    } else {
        const int y = px(origin);
        if (settings_.相続関係説明図 && y <= size) {
            return;
        }
        chart_.line(0, y, chart_.width() - 1, y, kLineColour);
    }
}

} // namespace render
