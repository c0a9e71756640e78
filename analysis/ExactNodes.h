// Exact node probabilities of the network and the expected number of draws per initiation.
#pragma once

#include <array>
#include <memory>

#include "network/Network.h"

namespace kestal {

// The probability that an initiation counts each node, node order B to I, every draw's outcome
// probabilities being its generator state counts over 2^32. Each is a sum of masses (never one
// minus another), so P(B) + P(C) = 1, P(D) + P(E) = P(C), P(F) + P(G) = P(E), P(H) + P(I) = P(G)
// hold up to rounding, and a tiny probability such as P(C) with every slot at 1.0 (about 2.1e-45)
// is not lost.
struct NodeProbabilities {
    std::array<long double, NodeCount> node{};
};

// Convolution stage by stage: the distributions of the stage sums and multipliers (StageMassesOf)
// combined into the score distributions S1 and S2, each split at its stage's threshold, and the
// stage-3 scores split at both remaining thresholds.
NodeProbabilities ExactNodeProbabilities(const NetworkInputs& inputs);

// The exact accident probabilities of variants of one set of inputs: the stages whose draws a
// variant leaves as they were are taken from the base, so a variant that changes one factor costs
// a fraction of a whole evaluation. Each is the probability ExactNodeProbabilities gives the
// variant, bit for bit (the same operations on the same values).
class AccidentVariants {
public:
    explicit AccidentVariants(const NetworkInputs& base);
    ~AccidentVariants();
    long double Base() const;
    long double Accident(const NetworkInputs& variant) const;

private:
    struct Stages;
    std::unique_ptr<Stages> stages_;
};

// The expected draws per initiation: 14 P(B) + 22 P(D) + 27 P(F) + 31 P(G).
long double DrawsPerInitiation(const NodeProbabilities& p);

}  // namespace kestal
