#include "host/field_json.h"

#include <cstdio>

namespace {

class JsonWriter {
 public:
  void raw(const char* text) { out_ += text; }
  void number(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    out_ += buffer;
  }
  void number(long long value) { out_ += std::to_string(value); }
  void vector(const Vector3F& v) {
    raw("[");
    number(v.x), raw(","), number(v.y), raw(","), number(v.z);
    raw("]");
  }
  void color(const ColorRGBA& c) {
    raw("[");
    number(c.r), raw(","), number(c.g), raw(","), number(c.b), raw(","), number(c.a);
    raw("]");
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

}  // namespace

std::string fieldToJson(const Field& field) {
  JsonWriter json;
  json.raw("{\"tick\":");
  json.number(static_cast<long long>(field.tick));
  json.raw(",\"dir\":");
  json.number(field.dir);
  json.raw(",\"rad\":");
  json.number(field.rad);
  json.raw(",\"no_cyclones\":");
  json.number(static_cast<long long>(field.no_cyclones));
  json.raw(",\"no_particles\":");
  json.number(static_cast<long long>(field.no_particles));

  json.raw(",\"cyclones\":[");
  for (int32_t c = 0; c < field.no_cyclones; ++c) {
    const CycloneStatus& s = field.statusCount[c];
    json.raw(c ? ",{\"moveTimer\":" : "{\"moveTimer\":");
    json.number(static_cast<long long>(s.moveTimer));
    json.raw(",\"effectTimer\":");
    json.number(static_cast<long long>(s.effectTimer));
    json.raw(",\"depthTimer\":");
    json.number(static_cast<long long>(s.depthTimer));
    json.raw(",\"pulseRate\":");
    json.number(static_cast<long long>(s.pulseRate));
    json.raw(",\"hue\":");
    json.number(s.hue);
    json.raw(",\"saturation\":");
    json.number(s.saturation);
    json.raw("}");
  }

  json.raw("],\"particles\":[");
  const bool afterimages = field.show_ai == 1 && field.ai_loc;
  for (int32_t p = 0; p < field.no_particles; ++p) {
    json.raw(p ? ",{\"loc\":" : "{\"loc\":");
    json.vector(field.loc[p]);
    json.raw(",\"prevLoc\":");
    json.vector(field.prevLoc[p]);
    json.raw(",\"ve\":");
    json.vector(field.ve[p]);
    json.raw(",\"eye\":");
    json.vector(field.eye[p]);
    json.raw(",\"vel\":");
    json.number(field.vel[p]);
    json.raw(",\"sine\":");
    json.number(field.sine[p]);
    json.raw(",\"cosine\":");
    json.number(field.cosine[p]);
    json.raw(",\"yrp\":");
    // The facing angle is written by the first step; before it there is none.
    json.number(field.tick == 0 ? 0.0f : field.yrp[p]);
    json.raw(",\"color\":");
    json.color(field.color[p]);
    if (afterimages) {
      json.raw(",\"afterimages\":[");
      for (int m = 0; m < 4; ++m) {
        const std::size_t i = 4 * static_cast<std::size_t>(p) + m;
        json.raw(m ? ",{\"loc\":" : "{\"loc\":");
        json.vector(field.ai_loc[i]);
        json.raw(",\"count\":");
        json.number(static_cast<long long>(field.ai_cnt[i]));
        json.raw(",\"color\":");
        json.color(field.ai_color[i]);
        json.raw("}");
      }
      json.raw("]");
    }
    json.raw("}");
  }
  json.raw("]}");
  return json.take();
}
