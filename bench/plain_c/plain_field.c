/* The particle field in plain C, one particle after another, the
 * straightforward way: the yardstick that `swirlmote simulate` is timed
 * against. Same draws from random(), same float and double operations in
 * the same order, so it prints the same JSON.
 *   plain_field SEED FRAMES CYCLONES PER_CYCLONE AFTERIMAGES(0|1)
 * Particle colours follow the cyclones' hues (the automatic colour mode). */

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

typedef struct {
  float x, y, z;
} Vec;

typedef struct {
  float r, g, b, a;
} Rgba;

typedef struct {
  int32_t moveTimer, effectTimer, depthTimer, pulseRate;
  float hue, saturation;
} Cyclone;

static int32_t n, k;
static int show_ai;
static uint32_t tick;
static float rad, dir;
static Vec *loc, *prevLoc, *ve, *eye, *ai_loc;
static float *yrp, *sine, *cosine, *vel;
static Rgba *color, *ai_color;
static int32_t *ai_cnt;
static Cyclone *cyclones;

static double unitDraw(void) {
  return (double)random() / 2147483647.0;
}

static float drawCoordinate(void) {
  return (float)(unitDraw() * 1000.0 - 500.0);
}

static float v_len(const Vec *v) {
  return sqrtf((v->x * v->x + v->y * v->y) + v->z * v->z);
}

static void v_div(Vec *v, float s) {
  v->x /= s;
  v->y /= s;
  v->z /= s;
}

/* A zero-length vector is left as it is and reported. */
static int normalised(Vec *v) {
  const float length = v_len(v);
  if (length == 0.0f) return 0;
  v_div(v, length);
  return 1;
}

static void hsvToRgb(float *r, float *g, float *b, float h, float s, float v) {
  if (s == 0.0f) {
    *r = *g = *b = v;
    return;
  }
  const float hh = h / 360.0f * 6.0f;
  const float i = floorf(hh);
  const float f = hh - i;
  const float p = (float)((1.0 - (double)s) * (double)v);
  const float q = (float)((1.0 - (double)(s * f)) * (double)v);
  const float t = (float)((1.0 - (double)s * (1.0 - (double)f)) * (double)v);
  if (!(i >= 0.0f && i <= 5.0f)) return;
  switch ((int)i) {
    case 0: *r = v, *g = t, *b = p; break;
    case 1: *r = q, *g = v, *b = p; break;
    case 2: *r = p, *g = v, *b = t; break;
    case 3: *r = p, *g = q, *b = v; break;
    case 4: *r = t, *g = p, *b = v; break;
    case 5: *r = v, *g = p, *b = q; break;
  }
}

static void *allocate(size_t count, size_t size) {
  void *p = calloc(count ? count : 1, size);
  if (!p) {
    fputs("plain_field: out of memory\n", stderr);
    exit(1);
  }
  return p;
}

static void seed(void) {
  const float theta = (float)(unitDraw() * 10.0 + 5.0);
  loc = allocate(n, sizeof *loc);
  prevLoc = allocate(n, sizeof *prevLoc);
  ve = allocate(n, sizeof *ve);
  eye = allocate(n, sizeof *eye);
  yrp = allocate(n, sizeof *yrp);
  sine = allocate(n, sizeof *sine);
  cosine = allocate(n, sizeof *cosine);
  vel = allocate(n, sizeof *vel);
  color = allocate(n, sizeof *color);
  cyclones = allocate(k, sizeof *cyclones);
  if (show_ai) {
    ai_loc = allocate(4 * (size_t)n, sizeof *ai_loc);
    ai_cnt = allocate(4 * (size_t)n, sizeof *ai_cnt);
    ai_color = allocate(4 * (size_t)n, sizeof *ai_color);
  }
  for (int32_t c = 0; c < k; ++c) {
    Cyclone *s = &cyclones[c];
    s->moveTimer = (int32_t)(random() % 2300);
    s->effectTimer = (int32_t)(random() % 2000);
    s->depthTimer = (int32_t)(random() % 2700);
    s->pulseRate = (int32_t)(random() % 5 + 1);
    s->hue = (float)(random() % 360);
    s->saturation = (float)((double)(random() % 50) / 100.0 + 0.5);
  }
  tick = 0;
  dir = 1.0f;
  rad = 0.8f;
  for (int32_t c = 0; c < k; ++c) {
    const float ex = drawCoordinate();
    const float ey = drawCoordinate();
    for (int32_t p = c; p < n; p += k) {
      eye[p].x = ex;
      eye[p].y = ey;
      eye[p].z = (float)(unitDraw() * -270.0 - 30.0);
    }
  }
  const double thetaRadians = (double)theta * 3.141592653589793 / 180.0;
  const float sineTheta = (float)sin(thetaRadians);
  const float cosineTheta = (float)cos(thetaRadians);
  for (int32_t p = 0; p < n; ++p) {
    loc[p].x = drawCoordinate();
    loc[p].y = drawCoordinate();
    loc[p].z = (float)(unitDraw() * -430.0 - 20.0);
    prevLoc[p] = loc[p];
    color[p].r = (float)(unitDraw() * 0.5 + 0.5);
    color[p].g = (float)(unitDraw() * 0.5 + 0.5);
    color[p].b = (float)(unitDraw() * 0.5 + 0.5);
    color[p].a = (float)(unitDraw() * 0.5 + 0.5);
    ve[p].x = (float)(unitDraw() * 2.0 - 1.0);
    ve[p].y = (float)(unitDraw() * 2.0 - 1.0);
    ve[p].z = 0.0f;
    sine[p] = sineTheta;
    cosine[p] = cosineTheta;
    vel[p] = (float)(unitDraw() * 4.0 + 4.0);
    v_div(&ve[p], v_len(&ve[p]));
    for (int m = 0; show_ai && m < 4; ++m) {
      ai_loc[4 * p + m] = loc[p];
      ai_cnt[4 * p + m] = 5 * m;
      ai_color[4 * p + m] = color[p];
    }
  }
}

static void hueShift(Cyclone *s) {
  s->hue = (float)fmod((double)s->hue + 10.0, 360.0);
  s->saturation = (float)((double)(random() % 100) * 0.2 / 100.0 + 0.5);
}

static void turn(Vec *v, int clockwise) {
  const float x = v->x;
  const float y = v->y;
  v->x = clockwise ? y : -y;
  v->y = clockwise ? -x : x;
}

static void effect(int number, int32_t j) {
  switch (number) {
    case 0:
      dir = -dir;
      for (int32_t p = j; p < n; p += k) turn(&ve[p], dir == -1.0f);
      break;
    case 1:
      for (int32_t p = j; p < n; p += k) ve[p].x = -ve[p].x;
      break;
    case 2:
      for (int32_t p = j; p < n; p += k) ve[p].y = -ve[p].y;
      break;
    case 3:
      for (int32_t p = j; p < n; p += k) ve[p].x = -ve[p].x, ve[p].y = -ve[p].y;
      break;
    case 4:
      dir = -dir;
      for (int32_t p = j; p < n; p += k) turn(&ve[p], dir != -1.0f);
      break;
    case 5: {
      const double t = (double)rad * 2.0;
      rad = t < 6.4 ? (float)t : 6.4f;
      break;
    }
    case 6: {
      const double t = (double)rad * 0.5;
      rad = t > 0.1 ? (float)t : 0.1f;
      break;
    }
  }
}

static void events(void) {
  for (int32_t j = 0; j < k; ++j) {
    Cyclone *s = &cyclones[j];
    eye[j].z = (float)((double)eye[j].z + (unitDraw() * 0.02 - 0.01));
    if (--s->moveTimer < 0) {
      s->moveTimer = (int32_t)(random() % 2300);
      hueShift(s);
      const float x = (float)(unitDraw() * 1000.0 - 500.0);
      const float y = (float)(unitDraw() * 1000.0 - 500.0);
      for (int32_t p = j; p < n; p += k) {
        eye[p].x = x;
        eye[p].y = y;
      }
    }
    if (--s->effectTimer < 0) {
      s->effectTimer = (int32_t)(random() % 2000);
      effect(s->effectTimer % 7, j);
      hueShift(s);
    }
    if (--s->depthTimer < 0) {
      s->depthTimer = (int32_t)(random() % 1700);
      hueShift(s);
      if (random() % 2 == 1) {
        for (int32_t p = j; p < n; p += k) eye[p].z = (float)(unitDraw() * -430.0 - 20.0);
      } else {
        const float z = (float)(unitDraw() * -430.0 - 20.0);
        for (int32_t p = j; p < n; p += k) eye[p].z = z;
      }
    }
  }
}

static void particles(void) {
  for (int32_t p = 0; p < n; ++p) {
    prevLoc[p] = loc[p];
    Vec d = {loc[p].x - eye[p].x, loc[p].y - eye[p].y, loc[p].z - eye[p].z};
    if (normalised(&d)) {
      const float c = cosine[p];
      const float sn = sine[p];
      const Vec r = {d.x * c - (dir * d.y) * sn, d.y * c + (dir * d.x) * sn, d.z};
      const float radius = (float)((double)rad * ((double)vel[p] * -20.0 + 160.0));
      Vec t = {radius * r.x + eye[p].x - loc[p].x, radius * r.y + eye[p].y - loc[p].y,
               radius * r.z + eye[p].z - loc[p].z};
      if (normalised(&t)) {
        Vec heading = {ve[p].x + t.x, ve[p].y + t.y, ve[p].z + t.z};
        if (normalised(&heading)) {
          heading.x *= vel[p];
          heading.y *= vel[p];
          heading.z *= vel[p];
          ve[p] = heading;
        }
      }
    }
    loc[p].x = loc[p].x + ve[p].x;
    loc[p].y = loc[p].y + ve[p].y;
    loc[p].z = loc[p].z + ve[p].z;
    const float dy = prevLoc[p].y - loc[p].y;
    const float dx = prevLoc[p].x - loc[p].x;
    yrp[p] = (float)(atan2((double)dy, (double)dx) * 180.0 / 3.141592653589793);
    const Cyclone *s = &cyclones[p % k];
    color[p].a = (float)(sin((double)tick * 6.283185307179586 * s->pulseRate / 123.4) * 0.3 + 0.7);
    float depth = (float)((double)loc[p].z / -500.0);
    depth = depth > 0.5f ? 0.5f : (depth < 0.0f ? 0.0f : depth);
    hsvToRgb(&color[p].r, &color[p].g, &color[p].b, s->hue, s->saturation, (float)(1.0 - (double)depth));
  }
}

static void afterimages(void) {
  for (size_t i = 0; i < 4 * (size_t)n; ++i) {
    ai_cnt[i] = (ai_cnt[i] + 1) % 20;
    if (ai_cnt[i] == 0) {
      const Rgba c = color[i / 4];
      ai_loc[i] = loc[i / 4];
      ai_color[i] = (Rgba){c.r, c.g, c.b, c.a * 0.5f};
    }
  }
}

static void number(float v) {
  printf("%.9g", (double)v);
}

static void vector(Vec v) {
  printf("[");
  number(v.x), printf(","), number(v.y), printf(","), number(v.z);
  printf("]");
}

static void rgba(Rgba c) {
  printf("[");
  number(c.r), printf(","), number(c.g), printf(","), number(c.b), printf(","), number(c.a);
  printf("]");
}

static void printJson(void) {
  printf("{\"tick\":%u,\"dir\":", tick);
  number(dir);
  printf(",\"rad\":");
  number(rad);
  printf(",\"no_cyclones\":%d,\"no_particles\":%d,\"cyclones\":[", k, n);
  for (int32_t c = 0; c < k; ++c) {
    const Cyclone *s = &cyclones[c];
    printf("%s{\"moveTimer\":%d,\"effectTimer\":%d,\"depthTimer\":%d,\"pulseRate\":%d,\"hue\":", c ? "," : "",
           s->moveTimer, s->effectTimer, s->depthTimer, s->pulseRate);
    number(s->hue);
    printf(",\"saturation\":");
    number(s->saturation);
    printf("}");
  }
  printf("],\"particles\":[");
  for (int32_t p = 0; p < n; ++p) {
    printf(p ? ",{\"loc\":" : "{\"loc\":");
    vector(loc[p]);
    printf(",\"prevLoc\":");
    vector(prevLoc[p]);
    printf(",\"ve\":");
    vector(ve[p]);
    printf(",\"eye\":");
    vector(eye[p]);
    printf(",\"vel\":");
    number(vel[p]);
    printf(",\"sine\":");
    number(sine[p]);
    printf(",\"cosine\":");
    number(cosine[p]);
    printf(",\"yrp\":");
    number(tick == 0 ? 0.0f : yrp[p]);
    printf(",\"color\":");
    rgba(color[p]);
    if (show_ai) {
      printf(",\"afterimages\":[");
      for (int m = 0; m < 4; ++m) {
        const size_t i = 4 * (size_t)p + m;
        printf(m ? ",{\"loc\":" : "{\"loc\":");
        vector(ai_loc[i]);
        printf(",\"count\":%d,\"color\":", ai_cnt[i]);
        rgba(ai_color[i]);
        printf("}");
      }
      printf("]");
    }
    printf("}");
  }
  printf("]}\n");
}

int main(int argc, char **argv) {
  if (argc != 6) {
    fputs("usage: plain_field SEED FRAMES CYCLONES PER_CYCLONE AFTERIMAGES(0|1)\n", stderr);
    return 2;
  }
  const unsigned seedValue = (unsigned)strtoul(argv[1], NULL, 10);
  const long frames = strtol(argv[2], NULL, 10);
  k = (int32_t)strtol(argv[3], NULL, 10);
  n = k * (int32_t)strtol(argv[4], NULL, 10);
  show_ai = argv[5][0] == '1';
  if (k < 1 || k > 10 || n < 50 * k || n > 200 * k) {
    fputs("plain_field: 1 to 10 cyclones of 50 to 200 particles\n", stderr);
    return 2;
  }
  srandom(seedValue);
  seed();
  for (long frame = 0; frame < frames; ++frame) {
    events();
    particles();
    if (show_ai) afterimages();
    ++tick;
  }
  printJson();
  return 0;
}
