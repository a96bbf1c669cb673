// The npm packages of tools/map and the TopoJSON decoding that make-map and
// make-rir-map share.
"use strict";

const fs = require("fs");
const path = require("path");

const here = __dirname;

function fail(tool, message) {
  process.stderr.write(`${tool}: ${message}\n`);
  process.exit(1);
}

function load(name) {
  const file = path.join(here, "node_modules", name);
  if (!fs.existsSync(file)) {
    fail("map", `${file} not found: run npm ci in ${here} first`);
  }
  return JSON.parse(fs.readFileSync(file, "utf8"));
}

function decodeArcs(topology) {
  const [sx, sy] = topology.transform.scale;
  const [tx, ty] = topology.transform.translate;
  return topology.arcs.map((arc) => {
    let x = 0;
    let y = 0;
    return arc.map(([dx, dy]) => {
      x += dx;
      y += dy;
      return [x * sx + tx, y * sy + ty];
    });
  });
}

function ringOf(arcs, indices) {
  const points = [];
  for (const index of indices) {
    const arc = index < 0 ? arcs[~index].slice().reverse() : arcs[index];
    points.push(...(points.length > 0 ? arc.slice(1) : arc));
  }
  return points;
}

// A ring that crosses the antimeridian and comes back (Fiji, Russia's far east) is
// made continuous past ±180°; the map draws the world's neighbouring copies, which
// show the part beyond. A ring around the pole (Antarctica) stays as it is.
function unwrap(ring) {
  let shift = 0;
  const out = [[ring[0][0], ring[0][1]]];
  for (let k = 1; k < ring.length; k++) {
    const step = ring[k][0] - ring[k - 1][0];
    if (step > 180) {
      shift -= 360;
    } else if (step < -180) {
      shift += 360;
    }
    out.push([ring[k][0] + shift, ring[k][1]]);
  }
  return shift === 0 ? out : ring;
}

// The rings of one country (outer rings and holes alike), unwrapped.
function ringsOf(geometry, arcs) {
  const polygons = geometry.type === "Polygon" ? [geometry.arcs] : geometry.arcs;
  return polygons.flatMap((polygon) => polygon.map((indices) => unwrap(ringOf(arcs, indices))));
}

module.exports = { here, load, decodeArcs, ringsOf, fail };
