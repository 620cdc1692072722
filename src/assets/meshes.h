// The two hand-built hulls, compiled once into display lists with fixed names. Callers draw
// them with glCallList after setting up transformation, colour and texture: the lists hold
// only normals and positions.
#pragma once

// The enemy fighter's eight-sided saucer.
constexpr unsigned fighterMesh = 1;
// The player's ship: fuselage, two hexagonal side pods and a wing slab through them.
constexpr unsigned playerShipMesh = 2;

// Compiles both lists (without drawing anything). The GL context must be current.
void buildMeshLists();
