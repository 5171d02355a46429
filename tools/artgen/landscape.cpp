// Paints the window's background picture: a misty lake in the manner of an ink-and-colour
// landscape.
//
// The picture is built back to front: a pale sky, four ranges of hills that dissolve into mist
// at their feet (a pavilion stands on one of the middle hills), the lake with a wavering
// reflection of all of that, drifting fog, a boatman poling a small boat, the near banks with
// three willows, yellow flowers along the bottom, and finally a faint paper grain.
//
// Only the top-left part (about 600 x 390) shows behind the window's controls, and the controls
// cover most of that; the hills, the pavilion, the boat, the willows and the flowers are placed
// so that each shows in a strip left free around them.
#include "artwork.h"
#include "noise.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quivella::artgen {
namespace {

constexpr int kWidth = kBackgroundWidth;
constexpr int kHeight = kBackgroundHeight;
constexpr double kWaterLine = 250.0;
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r;
  double g;
  double b;
};

// The palette: soft blue-greens and warm paper tones.
constexpr Rgb kSkyTop{196, 210, 214};
constexpr Rgb kMist{237, 236, 226};
constexpr Rgb kCloud{246, 244, 236};
constexpr Rgb kSunGlow{246, 226, 206};
constexpr Rgb kSun{226, 132, 104};
constexpr Rgb kWaterNear{224, 229, 222};
constexpr Rgb kWaterDeep{166, 190, 186};
constexpr Rgb kGrassLight{170, 186, 118};
constexpr Rgb kGrassDark{104, 136, 80};
constexpr Rgb kInk{52, 56, 58};
constexpr Rgb kBark{78, 68, 56};
constexpr Rgb kPaper{240, 232, 212};

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double SmoothStep(double edge0, double edge1, double x) {
  const double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

double Gauss(double u) { return std::exp(-u * u); }

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

int Channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

QRgb Pack(Rgb c) { return qRgb(Channel(c.r), Channel(c.g), Channel(c.b)); }

Rgb Unpack(QRgb p) {
  return {static_cast<double>(qRed(p)), static_cast<double>(qGreen(p)),
          static_cast<double>(qBlue(p))};
}

QColor ToColor(Rgb c, double alpha = 1.0) {
  return QColor(Channel(c.r), Channel(c.g), Channel(c.b), Channel(alpha * 255.0));
}

// Returns a colour shifted by up to `amount` levels of brightness at random.
Rgb Jitter(Rgb c, Rng& rng, double amount) {
  const double k = rng.Range(-amount, amount);
  return {c.r + k, c.g + k, c.b + k};
}

Rgb Get(const QImage& image, int x, int y) { return Unpack(image.pixel(x, y)); }

// Lays `c` over the pixel at (x, y) with opacity `alpha`; pixels outside are ignored.
void Blend(QImage& image, int x, int y, Rgb c, double alpha) {
  if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || alpha <= 0.0) {
    return;
  }
  image.setPixel(x, y, Pack(Mix(Get(image, x, y), c, Clamp01(alpha))));
}

// Returns the colour at a fractional position, bilinearly, clamped to the picture.
Rgb Sample(const QImage& image, double x, double y) {
  x = std::clamp(x, 0.0, kWidth - 1.001);
  y = std::clamp(y, 0.0, kHeight - 1.001);
  const int ix = static_cast<int>(x);
  const int iy = static_cast<int>(y);
  const double tx = x - ix;
  const double ty = y - iy;
  const Rgb top = Mix(Get(image, ix, iy), Get(image, ix + 1, iy), tx);
  const Rgb bottom = Mix(Get(image, ix, iy + 1), Get(image, ix + 1, iy + 1), tx);
  return Mix(top, bottom, ty);
}

QPointF Cubic(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double t) {
  const double u = 1.0 - t;
  return u * u * u * p0 + 3.0 * u * u * t * p1 + 3.0 * u * t * t * p2 + t * t * t * p3;
}

QPointF Quad(QPointF p0, QPointF p1, QPointF p2, double t) {
  const double u = 1.0 - t;
  return u * u * p0 + 2.0 * u * t * p1 + t * t * p2;
}

// ---- Sky -------------------------------------------------------------------------------------

// Fills the picture with a sky that pales towards the horizon, faint cloud streaks and a low
// vermilion sun in the top-right corner of the visible part.
void PaintSky(QImage& image) {
  const double sunX = 574.0;
  const double sunY = 26.0;
  const double sunRadius = 13.0;
  for (int y = 0; y < kHeight; ++y) {
    const double t = SmoothStep(-40.0, kWaterLine, y);
    const Rgb base = Mix(kSkyTop, kMist, t);
    for (int x = 0; x < kWidth; ++x) {
      const double cloud = Fractal(x / 170.0, y / 24.0, 4, 11U);
      Rgb c = Mix(base, kCloud, SmoothStep(0.5, 0.78, cloud) * 0.6);
      const double d = std::hypot(x + 0.5 - sunX, y + 0.5 - sunY);
      c = Mix(c, kSunGlow, 0.45 * Gauss(d / 60.0));
      c = Mix(c, kSun, 0.42 * Clamp01(sunRadius - d + 0.5));
      image.setPixel(x, y, Pack(c));
    }
  }
}

// ---- Hills -----------------------------------------------------------------------------------

struct Peak {
  double x;
  double width;
  double height;
  double sharpness;  // 2 is a rounded dome, larger values give a flatter top
};

struct Ridge {
  double baseY;      // where the range stands on the water or the mist
  double fade;       // how far below baseY it has dissolved completely
  Rgb ink;           // colour near the crests
  std::vector<Peak> peaks;
  double roughness;  // height of the small irregularities along the crest line
  std::uint32_t seed;
};

// Returns the crest line of a range at column x.
double RidgeTop(const Ridge& ridge, double x) {
  double h = 0.0;
  for (const Peak& p : ridge.peaks) {
    const double u = std::abs(x - p.x) / p.width;
    h = std::max(h, p.height * std::exp(-std::pow(u, p.sharpness)));
  }
  const double detail = Fractal(x / 26.0, 0.5, 4, ridge.seed) - 0.5;
  return ridge.baseY - h - detail * ridge.roughness * (0.3 + std::min(h, 60.0) / 60.0);
}

// Paints one range of hills with crests in ink that fade downwards into the mist, vertical
// brush-like streaks and a lighter slope where it faces the low sun.
void PaintRidge(QImage& image, const Ridge& ridge) {
  for (int x = 0; x < kWidth; ++x) {
    const double top = RidgeTop(ridge, x + 0.5);
    const double slope = RidgeTop(ridge, x + 2.5) - RidgeTop(ridge, x - 1.5);
    const double lit = std::clamp(slope * 0.05, -0.10, 0.10);
    const int y0 = std::max(0, static_cast<int>(std::floor(top)));
    const int y1 = std::min(kHeight - 1, static_cast<int>(std::ceil(ridge.baseY + ridge.fade)));
    for (int y = y0; y <= y1; ++y) {
      const double coverage = Clamp01(y + 1.0 - top);
      const double depth = y + 0.5 - top;
      const double streak = 0.9 + 0.18 * Fractal(x / 5.0, y / 16.0, 3, ridge.seed + 7U);
      const double rim = 0.22 * std::exp(-depth / 2.2);
      Rgb c = Scale(ridge.ink, streak * (1.0 + lit) * (1.0 - rim));
      const double mist = std::max(0.55 * SmoothStep(4.0, 70.0, depth),
                                   SmoothStep(ridge.baseY - ridge.fade, ridge.baseY, y));
      c = Mix(c, kMist, mist);
      const double fadeOut = 1.0 - SmoothStep(ridge.baseY - 0.3 * ridge.fade, ridge.baseY + ridge.fade, y);
      Blend(image, x, y, c, coverage * fadeOut);
    }
  }
}

// Dabs small ink dots along a range's crests, the way moss and far trees are painted.
void PaintCrestDots(QImage& image, const Ridge& ridge, int count, double size, double opacity,
                    std::uint64_t seed) {
  Rng rng(seed);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const double x = rng.Range(0.0, kWidth);
    const double top = RidgeTop(ridge, x);
    if (top > ridge.baseY - 8.0) {
      continue;  // keep the dots on the hills, not in the valleys' mist
    }
    const double y = top + rng.Range(-0.5, 3.5) + rng.Uniform() * rng.Uniform() * 14.0;
    const double r = size * rng.Range(0.6, 1.2);
    p.setBrush(ToColor(Mix(kInk, ridge.ink, rng.Range(0.2, 0.6)), opacity * rng.Range(0.5, 1.0)));
    p.drawEllipse(QPointF(x, y), r * 1.3, r);
  }
}

// Paints a small two-tiered pavilion with upswept eaves standing at (cx, groundY).
void PaintPavilion(QImage& image, double cx, double groundY) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor roof = ToColor({62, 64, 68});
  const QColor pillar = ToColor({128, 62, 50});
  const double g = groundY;

  // Stone platform and steps.
  p.setPen(Qt::NoPen);
  p.setBrush(ToColor({128, 122, 108}));
  p.drawRect(QRectF(cx - 13.0, g - 3.0, 26.0, 3.5));
  p.setBrush(ToColor({150, 144, 128}));
  p.drawRect(QRectF(cx - 15.0, g - 0.5, 30.0, 2.0));

  // Pillars and a railing.
  p.setBrush(pillar);
  for (const double dx : {-10.5, -4.0, 3.0, 9.5}) {
    p.drawRect(QRectF(cx + dx, g - 15.0, 1.4, 12.0));
  }
  p.setPen(QPen(pillar, 0.8));
  p.drawLine(QPointF(cx - 11.0, g - 6.5), QPointF(cx + 11.0, g - 6.5));
  p.setPen(Qt::NoPen);

  // Lower roof: the eave line sags in the middle and flicks up at both tips.
  QPainterPath lower;
  lower.moveTo(cx - 19.0, g - 19.5);
  lower.quadTo(cx - 13.0, g - 15.0, cx, g - 15.5);
  lower.quadTo(cx + 13.0, g - 15.0, cx + 19.0, g - 19.5);
  lower.quadTo(cx + 13.0, g - 18.0, cx + 8.0, g - 22.5);
  lower.lineTo(cx - 8.0, g - 22.5);
  lower.quadTo(cx - 13.0, g - 18.0, cx - 19.0, g - 19.5);
  p.setBrush(roof);
  p.drawPath(lower);

  // A short wall between the tiers.
  p.setBrush(pillar);
  p.drawRect(QRectF(cx - 6.0, g - 26.0, 12.0, 4.0));

  // Upper roof: a pointed hip roof with the same upswept tips.
  QPainterPath upper;
  upper.moveTo(cx - 12.5, g - 27.0);
  upper.quadTo(cx - 7.0, g - 24.5, cx, g - 25.0);
  upper.quadTo(cx + 7.0, g - 24.5, cx + 12.5, g - 27.0);
  upper.quadTo(cx + 5.0, g - 28.5, cx + 0.8, g - 34.0);
  upper.lineTo(cx - 0.8, g - 34.0);
  upper.quadTo(cx - 5.0, g - 28.5, cx - 12.5, g - 27.0);
  p.setBrush(roof);
  p.drawPath(upper);
  p.setPen(QPen(roof, 1.0));
  p.drawLine(QPointF(cx, g - 34.0), QPointF(cx, g - 38.0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(cx, g - 38.5), 0.9, 0.9);
}

// Paints a small pine of stacked ink dabs beside the pavilion.
void PaintPine(QImage& image, double x, double groundY, double height, std::uint64_t seed) {
  Rng rng(seed);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(ToColor(kBark), 1.0));
  p.drawLine(QPointF(x, groundY), QPointF(x + 0.5, groundY - height));
  p.setPen(Qt::NoPen);
  const int tiers = 5;
  for (int i = 0; i < tiers; ++i) {
    const double t = (i + 0.5) / tiers;
    const double y = groundY - height * (0.25 + 0.75 * t);
    const double w = (1.0 - t) * height * 0.45 + 1.5;
    p.setBrush(ToColor(Mix({40, 70, 56}, {70, 100, 80}, rng.Uniform()), 0.9));
    p.drawEllipse(QPointF(x + rng.Range(-1.0, 1.0), y), w, 1.6);
  }
}

// ---- Water and fog ---------------------------------------------------------------------------

// Paints the lake below the water line with a softened, wavering reflection of everything above
// it and thin bright ripples.
void PaintWater(QImage& image) {
  const QImage above = image.copy();
  for (int y = static_cast<int>(kWaterLine); y < kHeight; ++y) {
    const double d = y + 0.5 - kWaterLine;
    const Rgb base = Mix(kWaterNear, kWaterDeep, SmoothStep(0.0, 170.0, d));
    const double reflection = 0.40 * std::exp(-d / 110.0);
    for (int x = 0; x < kWidth; ++x) {
      const double wave = Fractal(x / 45.0, y / 2.5, 2, 31U) - 0.5;
      const double wobble = wave * (1.5 + d / 25.0);
      // Three taps down the mirrored column blur the reflection the way small waves do.
      const double srcY = kWaterLine - d * 0.95 - 1.0;
      const Rgb mirrored = Mix(Mix(Sample(above, x + wobble, srcY - 2.0),
                                   Sample(above, x - wobble, srcY + 2.0), 0.5),
                               Sample(above, x + 0.5 * wobble, srcY), 0.5);
      Rgb c = Mix(base, mirrored, reflection);
      const double ripple = Fractal(x / 70.0, y / 1.7, 3, 37U);
      c = Mix(c, kCloud, 0.5 * SmoothStep(0.6, 0.8, ripple));
      c = Mix(c, kWaterDeep, 0.25 * (1.0 - SmoothStep(0.2, 0.35, ripple)));
      image.setPixel(x, y, Pack(c));
    }
  }
}

// Lays drifting bands of fog over the feet of the hills and the far water.
void PaintFog(QImage& image) {
  for (int y = 0; y < kHeight; ++y) {
    const double band = 0.70 * Gauss((y - 247.0) / 16.0) + 0.50 * Gauss((y - 203.0) / 14.0) +
                        0.36 * Gauss((y - 172.0) / 12.0) + 0.22 * Gauss((y - 110.0) / 16.0);
    if (band < 0.004) {
      continue;
    }
    for (int x = 0; x < kWidth; ++x) {
      const double wisps = SmoothStep(0.32, 0.72, Fractal(x / 150.0, y / 18.0, 4, 41U));
      Blend(image, x, y, kMist, Clamp01(band * (0.25 + 0.85 * wisps)));
    }
  }
}

// ---- Boatman ---------------------------------------------------------------------------------

// Paints a small boat with a standing figure in a conical hat who pushes a pole into the lake,
// with its dark reflection and rings of ripples.
void PaintBoatman(QImage& image, double cx, double waterY) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor hull = ToColor({74, 60, 48});
  const QColor figure = ToColor({58, 64, 72});

  // Ripples and reflection first, so the hull sits on them.
  p.setPen(QPen(ToColor(kCloud, 0.75), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(cx - 38.0, waterY - 2.0, 76.0, 8.0), 180 * 16, 180 * 16);
  p.drawArc(QRectF(cx - 46.0, waterY - 1.0, 92.0, 11.0), 200 * 16, 140 * 16);
  p.drawArc(QRectF(cx + 24.0, waterY + 6.0, 16.0, 4.0), 0, 360 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(ToColor({74, 60, 48}, 0.28));
  QPainterPath shadow;
  shadow.moveTo(cx - 30.0, waterY + 0.5);
  shadow.quadTo(cx, waterY + 9.0, cx + 30.0, waterY + 0.5);
  shadow.closeSubpath();
  p.drawPath(shadow);

  // Hull: a shallow crescent with raised bow and stern.
  QPainterPath boat;
  boat.moveTo(cx - 31.0, waterY - 6.5);
  boat.quadTo(cx - 4.0, waterY - 2.0, cx + 30.0, waterY - 5.5);
  boat.quadTo(cx + 22.0, waterY + 1.5, cx + 10.0, waterY + 1.0);
  boat.lineTo(cx - 14.0, waterY + 1.0);
  boat.quadTo(cx - 25.0, waterY + 0.5, cx - 31.0, waterY - 6.5);
  p.setBrush(hull);
  p.drawPath(boat);
  p.setPen(QPen(ToColor({130, 104, 78}), 0.8));
  p.drawLine(QPointF(cx - 24.0, waterY - 3.2), QPointF(cx + 22.0, waterY - 3.0));
  p.setPen(Qt::NoPen);

  // A low woven canopy at the bow.
  QPainterPath canopy;
  canopy.moveTo(cx - 20.0, waterY - 4.0);
  canopy.cubicTo(cx - 19.0, waterY - 12.0, cx - 6.0, waterY - 12.0, cx - 5.0, waterY - 3.5);
  canopy.closeSubpath();
  p.setBrush(ToColor({96, 84, 66}));
  p.drawPath(canopy);

  // The boatman at the stern: body, arms on the pole, conical hat.
  const double fx = cx + 15.0;
  const double feet = waterY - 3.5;
  QPainterPath body;
  body.moveTo(fx - 2.6, feet);
  body.lineTo(fx - 2.0, feet - 9.0);
  body.quadTo(fx - 2.2, feet - 14.0, fx - 0.5, feet - 15.0);
  body.lineTo(fx + 1.5, feet - 14.5);
  body.quadTo(fx + 2.6, feet - 10.0, fx + 2.2, feet);
  body.closeSubpath();
  p.setBrush(figure);
  p.drawPath(body);
  p.setBrush(ToColor({214, 188, 150}));
  p.drawEllipse(QPointF(fx + 0.3, feet - 16.3), 1.5, 1.6);
  QPainterPath hat;
  hat.moveTo(fx - 5.2, feet - 16.4);
  hat.quadTo(fx + 0.3, feet - 22.5, fx + 5.8, feet - 16.4);
  hat.quadTo(fx + 0.3, feet - 17.4, fx - 5.2, feet - 16.4);
  p.setBrush(ToColor({112, 92, 58}));
  p.drawPath(hat);

  // The pole leans forward across the body and reaches into the water behind the stern.
  const QPointF poleTop(fx - 9.0, feet - 27.0);
  const QPointF poleFoot(fx + 15.0, waterY + 6.0);
  p.setPen(QPen(ToColor({66, 54, 42}), 1.1, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(poleTop, poleFoot);
  p.setPen(QPen(figure, 1.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(fx - 0.8, feet - 13.0), Quad(poleTop, (poleTop + poleFoot) / 2.0, poleFoot, 0.33));
  p.drawLine(QPointF(fx + 1.0, feet - 12.0), Quad(poleTop, (poleTop + poleFoot) / 2.0, poleFoot, 0.45));
}

// ---- Near banks ------------------------------------------------------------------------------

// Returns the top edge of the near ground at column x: the left bank where the willows stand,
// a right bank, and a strip of meadow along the whole bottom edge.
double GroundTop(double x) {
  const double wobble = 6.0 * (Fractal(x / 32.0, 3.5, 3, 51U) - 0.5);
  const double left = 316.0 + 150.0 * SmoothStep(20.0, 300.0, x);
  const double right = 330.0 + 134.0 * (1.0 - SmoothStep(400.0, 600.0, x)) - 0.03 * (x - 600.0);
  const double bottom = 438.0 + 10.0 * (Fractal(x / 55.0, 9.5, 3, 53U) - 0.5);
  return std::min({left, right, bottom}) + wobble;
}

// Paints the near ground: grass that darkens towards the viewer with a soft ink rim where it
// meets the water.
void PaintGround(QImage& image) {
  for (int x = 0; x < kWidth; ++x) {
    const double top = GroundTop(x + 0.5);
    for (int y = std::max(0, static_cast<int>(std::floor(top)) - 1); y < kHeight; ++y) {
      const double coverage = Clamp01(y + 1.0 - top);
      const double depth = y + 0.5 - top;
      const double tuft = Fractal(x / 14.0, y / 6.0, 3, 57U);
      Rgb c = Mix(kGrassLight, kGrassDark, Clamp01(0.25 + 0.6 * tuft + depth / 260.0));
      c = Mix(c, kInk, 0.30 * std::exp(-depth / 1.8));
      Blend(image, x, y, c, coverage);
    }
  }
  // A pale line of wet sand just above the rim.
  for (int x = 0; x < kWidth; ++x) {
    const double top = GroundTop(x + 0.5);
    Blend(image, x, static_cast<int>(top) - 2, kCloud, 0.35);
  }
}

// Draws short grass blades along the banks and across the meadow strip.
void PaintGrass(QImage& image, std::uint64_t seed) {
  Rng rng(seed);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 1400; ++i) {
    const double x = rng.Range(-4.0, kWidth + 4.0);
    const double top = GroundTop(x);
    const double y = top + 2.0 + std::pow(rng.Uniform(), 1.6) * (kHeight + 4.0 - top);
    const double nearness = Clamp01((y - 300.0) / 160.0);
    const double len = rng.Range(3.0, 8.0) * (0.6 + nearness);
    const double lean = rng.Range(-0.5, 0.5) * len;
    const Rgb colour = Mix({84, 122, 62}, {140, 170, 90}, rng.Uniform());
    p.setPen(QPen(ToColor(colour, 0.8), rng.Range(0.6, 1.1)));
    QPainterPath blade;
    blade.moveTo(x, y);
    blade.quadTo(x + lean * 0.2, y - len * 0.6, x + lean, y - len);
    p.drawPath(blade);
  }
}

// ---- Willows ---------------------------------------------------------------------------------

struct Willow {
  QPointF base;
  double height;
  double lean;      // horizontal offset of the top of the trunk
  double reach;     // how far the branches spread, as a part of the height
  double drop;      // how long the hanging strands are, as a part of the height
  int strands;
  std::uint64_t seed;
};

// Paints a willow: a leaning trunk, a few upswept branches and many long hanging strands of
// narrow leaves, darker strands behind and fresher ones in front.
void PaintWillow(QImage& image, const Willow& w) {
  Rng rng(w.seed);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QPointF t0 = w.base;
  const QPointF t3 = w.base + QPointF(w.lean, -w.height);
  const QPointF t1 = w.base + QPointF(w.lean * 0.1 - 14.0, -w.height * 0.35);
  const QPointF t2 = w.base + QPointF(w.lean * 0.9 + 16.0, -w.height * 0.7);
  const double baseWidth = 4.0 + w.height / 60.0;

  // Trunk as a tapered outline around the curve.
  QPainterPath trunk;
  std::vector<QPointF> rightSide;
  const int steps = 32;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const QPointF c = Cubic(t0, t1, t2, t3, t);
    const QPointF ahead = Cubic(t0, t1, t2, t3, std::min(1.0, t + 0.01));
    const QPointF behind = Cubic(t0, t1, t2, t3, std::max(0.0, t - 0.01));
    QPointF dir = ahead - behind;
    const double len = std::hypot(dir.x(), dir.y());
    dir /= len;
    const QPointF normal(-dir.y(), dir.x());
    const double half = baseWidth * (1.0 - 0.8 * t) + (t < 0.06 ? (0.06 - t) * 40.0 : 0.0);
    if (i == 0) {
      trunk.moveTo(c + normal * half);
    } else {
      trunk.lineTo(c + normal * half);
    }
    rightSide.push_back(c - normal * half);
  }
  for (auto it = rightSide.rbegin(); it != rightSide.rend(); ++it) {
    trunk.lineTo(*it);
  }
  trunk.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(ToColor(kBark));
  p.drawPath(trunk);
  // Bark furrows.
  for (int k = 0; k < 3; ++k) {
    QPainterPath furrow;
    const double off = (k - 1) * baseWidth * 0.4;
    const double from = rng.Range(0.0, 0.3);
    const double to = rng.Range(0.5, 0.8);
    furrow.moveTo(Cubic(t0, t1, t2, t3, from) + QPointF(off, 0.0));
    for (double t = from; t <= to; t += 0.05) {
      furrow.lineTo(Cubic(t0, t1, t2, t3, t) + QPointF(off * (1.0 - t), 0.0));
    }
    p.setPen(QPen(ToColor({48, 42, 36}, 0.6), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(furrow);
  }

  // Branches; their points are where the strands hang from.
  std::vector<QPointF> crown;
  const int branches = 7;
  for (int b = 0; b < branches; ++b) {
    const double at = rng.Range(0.45, 1.0);
    const QPointF start = Cubic(t0, t1, t2, t3, at);
    const double side = (b % 2 == 0) ? -1.0 : 1.0;
    const double len = w.height * w.reach * rng.Range(0.5, 1.0);
    const QPointF end = start + QPointF(side * len * rng.Range(0.6, 1.0), -len * rng.Range(0.25, 0.7));
    const QPointF mid = start + QPointF(side * len * 0.25, -len * 0.6);
    QPainterPath branch;
    branch.moveTo(start);
    branch.quadTo(mid, end);
    p.setPen(QPen(ToColor(kBark), 1.0 + baseWidth * 0.25 * (1.0 - at), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(branch);
    for (int k = 2; k <= 10; ++k) {
      crown.push_back(Quad(start, mid, end, k / 10.0));
    }
  }
  for (int k = 6; k <= 10; ++k) {
    crown.push_back(Cubic(t0, t1, t2, t3, k / 10.0));
  }

  // Hanging strands.
  const Rgb backLeaves[] = {{86, 122, 60}, {100, 134, 64}, {76, 112, 62}};
  const Rgb frontLeaves[] = {{138, 172, 76}, {162, 190, 92}, {120, 158, 70}, {176, 196, 104}};
  const double trunkX = (t0.x() + t3.x()) / 2.0;
  for (int layer = 0; layer < 2; ++layer) {
    const int count = layer == 0 ? w.strands / 2 : w.strands - w.strands / 2;
    for (int i = 0; i < count; ++i) {
      const QPointF s = crown[static_cast<std::size_t>(rng.Below(static_cast<int>(crown.size())))] +
                        QPointF(rng.Range(-2.0, 2.0), rng.Range(-2.0, 2.0));
      const double side = s.x() < trunkX ? -1.0 : 1.0;
      const double dx = side * rng.Range(2.0, 14.0);
      const double len = w.height * w.drop * rng.Range(0.35, 1.0);
      const QPointF p0 = s;
      const QPointF p1 = s + QPointF(dx, -rng.Range(2.0, 9.0));
      const QPointF p2 = s + QPointF(dx * 1.4, len * 0.35);
      const QPointF p3 = s + QPointF(dx * 1.5 + rng.Range(-5.0, 5.0), len);

      QPainterPath strand;
      strand.moveTo(p0);
      strand.cubicTo(p1, p2, p3);
      p.setPen(QPen(ToColor(layer == 0 ? Rgb{70, 96, 52} : Rgb{104, 136, 62}, 0.55), 0.6));
      p.setBrush(Qt::NoBrush);
      p.drawPath(strand);

      p.setPen(Qt::NoPen);
      const int leaves = static_cast<int>(len / 3.2);
      for (int k = 1; k <= leaves; ++k) {
        const double t = static_cast<double>(k) / (leaves + 1);
        const QPointF at = Cubic(p0, p1, p2, p3, t);
        const QPointF ahead = Cubic(p0, p1, p2, p3, std::min(1.0, t + 0.02));
        const double angle =
            std::atan2(ahead.y() - at.y(), ahead.x() - at.x()) * 180.0 / kPi - 90.0;
        const double size = 1.0 - 0.45 * t;
        const Rgb colour = layer == 0 ? backLeaves[rng.Below(3)] : frontLeaves[rng.Below(4)];
        p.save();
        p.translate(at);
        p.rotate(angle + ((k % 2 == 0) ? 28.0 : -28.0) + rng.Range(-10.0, 10.0));
        p.setBrush(ToColor(Jitter(colour, rng, 10.0), layer == 0 ? 0.75 : 0.9));
        p.drawEllipse(QPointF(0.0, 1.8 * size), 0.9 * size + 0.25, 2.2 * size);
        p.restore();
      }
    }
  }
}

// ---- Flowers ---------------------------------------------------------------------------------

struct Flower {
  double x;
  double y;
  double size;
  double turn;
  Rgb petal;
};

// Scatters yellow five-petalled flowers over the banks and thickly along the bottom edge,
// smaller and sparser further away.
void PaintFlowers(QImage& image, std::uint64_t seed) {
  Rng rng(seed);
  std::vector<Flower> flowers;
  const Rgb petals[] = {{244, 204, 58}, {250, 222, 96}, {238, 190, 48}, {252, 232, 130}};
  // The meadow strip along the bottom edge.
  for (int i = 0; i < 900; ++i) {
    const double x = rng.Range(-4.0, kWidth + 4.0);
    const double top = std::max(GroundTop(x), 420.0);
    const double y = kHeight + 3.0 - std::pow(rng.Uniform(), 1.5) * (kHeight + 3.0 - top - 3.0);
    flowers.push_back({x, y, 0.0, rng.Range(0.0, 72.0), petals[rng.Below(4)]});
  }
  // Drifts on the banks, close to the water.
  for (int i = 0; i < 420; ++i) {
    const bool leftBank = rng.Uniform() < 0.55;
    const double x = leftBank ? rng.Range(-4.0, 250.0) : rng.Range(440.0, kWidth + 4.0);
    const double top = GroundTop(x);
    if (top >= 420.0) {
      continue;
    }
    const double y = top + 3.0 + std::pow(rng.Uniform(), 1.3) * std::min(60.0, 440.0 - top);
    flowers.push_back({x, y, 0.0, rng.Range(0.0, 72.0), petals[rng.Below(4)]});
  }
  for (Flower& f : flowers) {
    f.size = std::clamp(1.2 + (f.y - 320.0) / 45.0, 1.2, 4.6) * rng.Range(0.75, 1.15);
  }
  std::sort(flowers.begin(), flowers.end(), [](const Flower& a, const Flower& b) {
    return a.y < b.y;
  });

  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  for (const Flower& f : flowers) {
    // Two leaves and a stem under the bloom.
    p.setBrush(ToColor(Jitter({96, 134, 66}, rng, 14.0), 0.85));
    p.save();
    p.translate(f.x, f.y + f.size * 1.2);
    p.rotate(rng.Range(-60.0, -20.0));
    p.drawEllipse(QPointF(0.0, -f.size * 0.9), f.size * 0.35, f.size * 1.0);
    p.rotate(rng.Range(40.0, 90.0));
    p.drawEllipse(QPointF(0.0, -f.size * 0.9), f.size * 0.35, f.size * 1.0);
    p.restore();

    if (f.size < 1.8) {
      p.setBrush(ToColor(Jitter(f.petal, rng, 8.0), 0.95));
      p.drawEllipse(QPointF(f.x, f.y), f.size * 0.8, f.size * 0.65);
      continue;
    }
    for (int k = 0; k < 5; ++k) {
      const double a = (f.turn + k * 72.0) * kPi / 180.0;
      const QPointF c(f.x + std::cos(a) * f.size * 0.55, f.y + std::sin(a) * f.size * 0.42);
      p.save();
      p.translate(c);
      p.rotate(f.turn + k * 72.0);
      p.setBrush(ToColor(Jitter(f.petal, rng, 8.0), 0.95));
      p.drawEllipse(QPointF(0.0, 0.0), f.size * 0.55, f.size * 0.34);
      p.restore();
    }
    p.setBrush(ToColor({214, 134, 40}));
    p.drawEllipse(QPointF(f.x, f.y), f.size * 0.26, f.size * 0.22);
  }
}

// ---- Paper -----------------------------------------------------------------------------------

// Adds a faint paper grain and fibres, a warm cast, and slightly darker corners.
void PaintPaper(QImage& image) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double grain = (LatticeValue(x, y, 61U) - 0.5) * 6.0;
      const double fibre = (Fractal(x / 2.5, y / 30.0, 2, 67U) - 0.5) * 5.0;
      const double u = (x - kWidth * 0.36) / (kWidth * 0.9);
      const double v = (y - kHeight * 0.40) / (kHeight * 0.9);
      const double vignette = 1.0 - 0.10 * (u * u + v * v);
      Rgb c = Mix(Get(image, x, y), kPaper, 0.05);
      c = Scale(c, vignette);
      c = {c.r + grain + fibre, c.g + grain + fibre, c.b + grain + fibre};
      image.setPixel(x, y, Pack(c));
    }
  }
}

}  // namespace

QImage PaintLandscape() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  PaintSky(image);

  const Ridge farHills{172.0, 70.0, {150, 170, 186},
                       {{60, 74, 95, 2.0}, {170, 62, 82, 2.1}, {292, 50, 136, 1.9},
                        {338, 40, 104, 2.2}, {410, 80, 98, 2.0}, {478, 46, 128, 1.9},
                        {610, 72, 104, 2.0}, {722, 58, 122, 1.9}, {768, 40, 96, 2.2},
                        {830, 70, 92, 2.0}},
                       16.0, 71U};
  const Ridge middleHills{204.0, 56.0, {118, 152, 156},
                          {{18, 52, 88, 2.0}, {132, 60, 70, 2.2}, {238, 46, 96, 1.9},
                           {268, 34, 78, 2.3}, {382, 72, 80, 2.1}, {528, 48, 74, 2.0},
                           {664, 56, 102, 1.9}, {700, 40, 86, 2.2}, {780, 52, 82, 2.1}},
                          14.0, 73U};
  const double pavilionX = 573.0;
  const Ridge nearHills{240.0, 40.0, {88, 128, 112},
                        {{88, 58, 62, 2.1}, {326, 64, 44, 2.2}, {pavilionX, 34, 60, 3.0},
                         {626, 44, 40, 2.1}, {712, 68, 78, 2.0}},
                        8.0, 79U};
  const Ridge islands{255.0, 14.0, {74, 108, 88},
                      {{-10, 60, 46, 1.8}, {470, 40, 18, 2.2}, {806, 80, 62, 1.7}},
                      4.0, 83U};

  PaintRidge(image, farHills);
  PaintRidge(image, middleHills);
  PaintCrestDots(image, middleHills, 260, 1.2, 0.35, 101U);
  PaintRidge(image, nearHills);
  PaintCrestDots(image, nearHills, 420, 1.5, 0.5, 103U);
  const double pavilionGround = RidgeTop(nearHills, pavilionX) + 1.5;
  PaintPine(image, pavilionX - 18.0, RidgeTop(nearHills, pavilionX - 18.0) + 2.0, 16.0, 105U);
  PaintPine(image, pavilionX + 19.0, RidgeTop(nearHills, pavilionX + 19.0) + 2.0, 12.0, 107U);
  PaintPavilion(image, pavilionX, pavilionGround);
  PaintRidge(image, islands);
  PaintCrestDots(image, islands, 160, 1.6, 0.55, 109U);

  PaintWater(image);
  PaintFog(image);
  PaintBoatman(image, 258.0, 352.0);
  PaintGround(image);
  PaintGrass(image, 113U);
  PaintWillow(image, {QPointF(24.0, 324.0), 300.0, 22.0, 0.20, 0.62, 190, 127U});
  PaintWillow(image, {QPointF(92.0, 336.0), 250.0, 14.0, 0.20, 0.60, 160, 131U});
  PaintWillow(image, {QPointF(160.0, 372.0), 190.0, 10.0, 0.22, 0.55, 120, 137U});
  PaintFlowers(image, 139U);
  PaintPaper(image);
  return image;
}

}  // namespace quivella::artgen
