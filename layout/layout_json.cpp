#include "layout/layout_json.h"

#include "core/json_writer.h"

namespace layout {

namespace {

void writeRoots(core::JsonWriter& w, const SurveyResult& survey) {
    w.key("roots");
    w.beginArray();
    for (int r : survey.roots) {
        w.value(r);
    }
    w.endArray();
}

// Per person with households, the households in their arranged order.
void writeHouseholds(core::JsonWriter& w, const SurveyResult& survey) {
    w.key("households");
    w.beginObject();
    for (int p = 1; p <= static_cast<int>(survey.persons.size()); ++p) {
        const std::vector<int>& households = survey.person(p).households;
        if (households.empty()) {
            continue;
        }
        w.key(std::to_string(p));
        w.beginArray();
        for (int f : households) {
            w.value(f);
        }
        w.endArray();
    }
    w.endObject();
}

// The families the survey took, with their level, order number and slots.
void writeFamilies(core::JsonWriter& w, const SurveyResult& survey) {
    w.key("families");
    w.beginArray();
    for (int f = 1; f <= static_cast<int>(survey.families.size()); ++f) {
        const FamilySurvey& fs = survey.family(f);
        if (!fs.taken()) {
            continue;
        }
        w.beginObject();
        w.key("family");
        w.value(f);
        w.key("階層");
        w.value(fs.階層);
        w.key("order");
        w.value(fs.orderNo);
        w.key("slots");
        w.beginArray();
        for (int s : fs.slots) {
            w.value(s);
        }
        w.endArray();
        w.endObject();
    }
    w.endArray();
}

void writeSlot(core::JsonWriter& w, const SlotLayout& sl) {
    w.beginObject();
    w.key("slot");
    w.value(sl.slot);
    w.key("kind");
    w.value(sl.kindKey);
    w.key("tag");
    w.value(sl.tag);
    w.key("level");
    w.value(sl.level);
    w.key("tree");
    w.value(sl.tree);
    w.key("path");
    w.value(sl.path);
    w.key("parent_family");
    w.value(sl.parentFamily);
    w.key("child_index");
    w.value(sl.childIndex);
    w.key("source");
    w.value(sl.source);
    w.key("x");
    w.value(sl.x);
    w.key("y");
    w.value(sl.y);
    w.key("width");
    w.value(sl.width);
    w.key("height");
    w.value(sl.height);
    w.key("anchor");
    w.beginArray();
    w.value(sl.anchorX);
    w.value(sl.anchorY);
    w.endArray();
    w.endObject();
}

} // namespace

std::string layoutJson(const SurveyResult& survey, const ChartLayout& chart) {
    core::JsonWriter w;
    w.beginObject();
    w.key("cell");
    w.beginArray();
    w.value(chart.CW);
    w.value(chart.CH);
    w.endArray();
    writeRoots(w, survey);
    writeHouseholds(w, survey);
    writeFamilies(w, survey);
    w.key("slots");
    w.beginArray();
    for (const SlotLayout& sl : chart.slots) {
        if (sl.used()) {
            writeSlot(w, sl);
        }
    }
    w.endArray();
    w.key("extent");
    w.beginArray();
    w.value(chart.width);
    w.value(chart.height);
    w.endArray();
    w.endObject();
    return w.str();
}

} // namespace layout
