#include "calc/pinet.h"

#include <cmath>

namespace velkaro {

namespace {

long double square(long double x) { return x * x; }

// 10 · log10 of the available power over the power that reaches the load.
long double lossDb(long double pOut) { return 10.0L * std::log10(1000.0L / pOut); }

}  // namespace

long double piMinimumQ(long double z1, long double z2) { return std::sqrt(z1 / z2 - 1.0L); }

long double piProposedQ(long double z1, long double z2) { return piMinimumQ(z1, z2) + 0.2L; }

PiReactances piReactances(long double z1, long double z2, long double q) {
    const long double ratio = z1 / z2;
    PiReactances x;
    x.x1 = z1 / q;
    x.x2 = z2 * std::sqrt(ratio / (q * q + 1.0L - ratio));
    x.x3 = (q * z1 + z1 * z2 / x.x2) / (q * q + 1.0L);
    return x;
}

PiElements piElements(long double w, const PiReactances& x) {
    PiElements e;
    e.hpC = static_cast<double>(1.0L / (w * x.x3));
    e.hpL1 = static_cast<double>(x.x1 / w);
    e.hpL2 = static_cast<double>(x.x2 / w);
    e.tpC1 = static_cast<double>(1.0L / (w * x.x1));
    e.tpC2 = static_cast<double>(1.0L / (w * x.x2));
    e.tpL = static_cast<double>(x.x3 / w);
    return e;
}

PiLosses piLosses(long double f, long double z1, long double z2, const PiReactances& x,
                  long double ql, std::optional<long double> qc) {
    // The shunt arms as seen in the series loop: Z1 parallel X1 and Z2
    // parallel X2 become series resistances, which are equal for a match.
    const long double rs1 = z1 / (square(z1 / x.x1) + 1.0L);
    const long double rs2 = z2 / (square(z2 / x.x2) + 1.0L);
    const long double u0 = std::sqrt(4000.0L * rs1);
    PiLosses out;

    {  // high-pass: coils L1, L2 across the ends, capacitor C in series
        const long double r1 = x.x1 / ql;
        const long double r2 = x.x2 / ql;
        long double s = r1 + rs1;
        long double rc = 0.0L;
        if (qc) {
            rc = x.x3 / *qc;
            s += rc;
        }
        s += r2;
        const long double r = s + rs2;
        const long double i = u0 / r;
        const long double gamma2 = square(s - rs1) / square(s + rs1);
        const long double p = (1.0L - gamma2) * 1000.0L;
        long double pOut = p - i * i * (r1 + r2);
        if (qc) pOut -= i * i * rc;
        out.highPass.loss = static_cast<double>(lossDb(pOut));
        out.highPass.bandwidth = static_cast<double>(r * f / (x.x1 + x.x2));
    }
    {  // low-pass: capacitors C1, C2 across the ends, coil L in series
        const long double rl = x.x3 / ql;
        long double s = 0.0L;
        long double c1 = 0.0L;
        long double c2 = 0.0L;
        if (qc) {
            c1 = x.x1 / *qc;
            c2 = x.x2 / *qc;
            s = rs1 + c1 + rl + c2;
        } else {
            s = rl + rs1;
        }
        const long double r = s + rs2;
        const long double i = u0 / r;
        const long double gamma2 = square(s - rs1) / square(s + rs1);
        const long double p = (1.0L - gamma2) * 1000.0L;
        long double pOut = p - i * i * rl;
        if (qc) pOut = pOut - i * i * c1 - i * i * c2;
        out.lowPass.loss = static_cast<double>(lossDb(pOut));
        out.lowPass.bandwidth = static_cast<double>(r * f / x.x3);
    }
    return out;
}

}  // namespace velkaro
