#include "calc/tnet.h"

#include <cmath>
#include <initializer_list>

namespace velkaro {

namespace {

long double square(long double x) { return x * x; }

struct NodeResult {
    long double loss = 0.0L;  // dB
    long double rn = 0.0L;    // resistance at the node: Rp2 parallel to the losses
};

// One variant at the shunt node: the loss resistances `r` parallel to Rp2.
NodeResult atNode(long double rp1, long double rp2, long double u0,
                  std::initializer_list<long double> r) {
    long double g = 0.0L;
    for (const long double each : r) g += 1.0L / each;
    const long double rn = 1.0L / (g + 1.0L / rp2);
    const long double i = u0 / (rp1 + rn);
    const long double u = u0 - rp1 * i;
    const long double gamma2 = square(rn - rp1) / square(rn + rp1);
    const long double p = (1.0L - gamma2) * 1000.0L;
    long double lost = 0.0L;
    for (const long double each : r) lost += u * u / each;
    const long double pOut = p - lost;
    return {10.0L * std::log10(1000.0L / pOut), rn};
}

}  // namespace

long double tSquaredRatio(long double z1, long double z2, long double q) {
    return z1 * (q * q + 1.0L) / z2 - 1.0L;
}

long double tProposedQ(long double z1, long double z2) { return std::sqrt(z1 / z2 - 1.0L) + 0.2L; }

TReactances tReactances(long double z1, long double z2, long double q) {
    const long double root = std::sqrt(tSquaredRatio(z1, z2, q));
    TReactances x;
    x.x1 = z1 * q;
    x.x2 = z2 * root;
    x.x3 = z1 * (q * q + 1.0L) / (q + root);
    return x;
}

TElements tElements(long double w, const TReactances& x) {
    TElements e;
    e.hpC1 = static_cast<double>(1.0L / (w * x.x1));
    e.hpC2 = static_cast<double>(1.0L / (w * x.x2));
    e.hpL = static_cast<double>(x.x3 / w);
    e.tpL1 = static_cast<double>(x.x1 / w);
    e.tpL2 = static_cast<double>(x.x2 / w);
    e.tpC = static_cast<double>(1.0L / (w * x.x3));
    return e;
}

TLosses tLosses(long double f, long double z1, long double z2, const TReactances& x, long double ql,
                std::optional<long double> qc) {
    // Each series arm with its end resistance as a parallel circuit at the node.
    const long double rp1 = (square(x.x1 / z1) + 1.0L) * z1;
    const long double rp2 = (square(x.x2 / z2) + 1.0L) * z2;
    const long double u0 = std::sqrt(4000.0L * rp1);
    TLosses out;

    // High-pass: the shunt coil, and the series capacitors C1, C2 as parallel
    // loss resistances at the node.
    const long double gL = ql * x.x3;
    const NodeResult hp =
        qc ? atNode(rp1, rp2, u0, {gL, *qc * z1 * rp1 / x.x1, *qc * z2 * rp2 / x.x2})
           : atNode(rp1, rp2, u0, {gL});
    out.highPass.loss = static_cast<double>(hp.loss);
    out.highPass.bandwidth = static_cast<double>(hp.rn * f / x.x3);

    // Low-pass: the series coils L1, L2 and the shunt capacitor.
    const long double h1 = ql * z1 * rp1 / x.x1;
    const long double h2 = ql * z2 * rp2 / x.x2;
    const NodeResult tp =
        qc ? atNode(rp1, rp2, u0, {h1, h2, *qc * x.x3}) : atNode(rp1, rp2, u0, {h1, h2});
    out.lowPass.loss = static_cast<double>(tp.loss);
    out.lowPass.bandwidth = static_cast<double>(tp.rn * f * (1.0L / x.x1 + 1.0L / x.x2));
    return out;
}

}  // namespace velkaro
