"""objl-dump as a process: hand-written models in, JSON, progress report and exit status out."""
import json
import math
import os
import struct
import subprocess
import tempfile
import unittest

BIN = os.path.join(os.environ.get("CORVELLE_LINUX_BIN", "build/linux/bin"), "objl-dump")
HERE = os.path.dirname(os.path.abspath(__file__))
MODELS = os.path.join(HERE, "models")
FIXTURES = os.path.join(HERE, "fixtures")


def f32(value):
    """The value rounded to a 32-bit float."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def run_dump(*args):
    """Runs objl-dump; returns (exit status, stdout bytes, stderr text)."""
    done = subprocess.run([BIN] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    return done.returncode, done.stdout, done.stderr.decode(errors="replace")


def load(obj, mtl, directory=MODELS):
    """Dumps a model; returns (exit status, stdout, the JSON text, the parsed JSON)."""
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "result.json")
        status, stdout, stderr = run_dump(os.path.join(directory, obj), os.path.join(directory, mtl), "--out", out)
        with open(out, encoding="utf-8") as f:
            text = f.read()
    # Numbers as floats, so that -0 keeps its sign.
    return status, stdout, text, json.loads(text, parse_int=float)


def material(name="", ambient=(0, 0, 0), diffuse=(0, 0, 0), specular=(0, 0, 0), specularExponent=0,
             opticalDensity=0, dissolve=0, illumination=0, ambientMap="", diffuseMap="", specularMap="",
             specularExponentMap="", dissolveMap="", bumpMap=""):
    return dict(name=name, ambient=list(ambient), diffuse=list(diffuse), specular=list(specular),
                specularExponent=specularExponent, opticalDensity=opticalDensity, dissolve=dissolve,
                illumination=illumination, ambientMap=ambientMap, diffuseMap=diffuseMap, specularMap=specularMap,
                specularExponentMap=specularExponentMap, dissolveMap=dissolveMap, bumpMap=bumpMap)


def quad_indices(count):
    """Each of count quadrilaterals is cut along the diagonal from its last corner to its second."""
    return [4 * k + i for k in range(count) for i in (0, 1, 3, 1, 2, 3)]


class ObjlDumpTest(unittest.TestCase):
    def assertSameFloats(self, actual, expected, where):
        """Equal as 32-bit floats, the sign of zero included."""
        self.assertEqual(len(actual), len(expected), where)
        for i, (a, e) in enumerate(zip(actual, expected)):
            self.assertIsInstance(a, float, "%s[%d]" % (where, i))
            self.assertEqual(f32(a), f32(e), "%s[%d]: %r != %r" % (where, i, a, e))
            self.assertEqual(math.copysign(1, a), math.copysign(1, e), "%s[%d]: sign of %r" % (where, i, a))

    def assertMaterial(self, actual, expected, where):
        self.assertEqual(sorted(actual), sorted(expected), where)
        for key, value in expected.items():
            if isinstance(value, list):
                self.assertSameFloats(actual[key], value, "%s.%s" % (where, key))
            elif isinstance(value, str):
                self.assertEqual(actual[key], value, "%s.%s" % (where, key))
            else:
                self.assertEqual(f32(actual[key]), f32(value), "%s.%s" % (where, key))

    def assertMeshes(self, result, expected):
        """expected: (name, vertices, indices, material) per mesh."""
        self.assertEqual([m["name"] for m in result["meshes"]], [e[0] for e in expected])
        for mesh, (name, vertices, indices, mat) in zip(result["meshes"], expected):
            self.assertEqual(len(mesh["vertices"]), len(vertices), name)
            for i, (actual, wanted) in enumerate(zip(mesh["vertices"], vertices)):
                self.assertSameFloats(actual, wanted, "%s vertex %d" % (name, i))
            self.assertEqual(mesh["indices"], indices, name)
            self.assertMaterial(mesh["material"], mat, name + " material")

    def test_embedded_rectangle(self):
        status, stdout, text, result = load("rectangle_object.obj", "rectangle_object.mtl", FIXTURES)
        self.assertEqual(status, 0)
        self.assertIs(result["ok"], True)
        self.assertIsNone(result["error"])
        n = [0, -0.0, 1]
        self.assertMeshes(result, [(
            "Plane001",
            [[-1, 1, 0] + n + [0, 1], [-1, -1, -0.0] + n + [0, 0], [1, 1, 0] + n + [1, 1],
             [1, -1, -0.0] + n + [1, 0], [1, 1, 0] + n + [1, 1], [-1, -1, -0.0] + n + [0, 0]],
            [0, 1, 2, 3, 4, 5],
            material("wire_198225087", (0.7765, 0.8824, 0.3412), (0.7765, 0.8824, 0.3412), (0.35, 0.35, 0.35),
                     specularExponent=32, dissolve=1, illumination=2))])
        self.assertEqual(result["allVertices"], 6)
        self.assertEqual(result["allIndices"], [0, 1, 2, 3, 4, 5])
        # Nine significant digits, and negative zero written as -0.
        self.assertIn("0.776499987", text)
        self.assertIn("[-1, -1, -0, 0, -0, 1, 0, 0]", text)
        counts = b"\r- Plane001\t| vertices > 4\t| texcoords > 4\t| normals > 1\t| triangles > 0"
        self.assertEqual(stdout, b"\n" + counts + b"\n" + counts + counts + b"\t| material: wire_198225087\n")

    def test_cube_with_positions_texture_coordinates_and_normals(self):
        status, stdout, _, result = load("cube.obj", "cube.mtl")
        self.assertEqual(status, 0)
        p = {1: [-1, -1, 1], 2: [1, -1, 1], 3: [1, 1, 1], 4: [-1, 1, 1],
             5: [-1, -1, -1], 6: [1, -1, -1], 7: [1, 1, -1], 8: [-1, 1, -1]}
        uv = [[0, 0], [1, 0], [1, 1], [0, 1]]
        faces = [([1, 2, 3, 4], [0, 0, 1]), ([6, 5, 8, 7], [0, 0, -1]), ([2, 6, 7, 3], [1, 0, 0]),
                 ([5, 1, 4, 8], [-1, 0, 0]), ([4, 3, 7, 8], [0, 1, 0]), ([5, 6, 2, 1], [0, -1, 0])]
        vertices = [p[corner] + normal + uv[i] for corners, normal in faces for i, corner in enumerate(corners)]
        steel = material("steel", (0.2, 0.2, 0.2), (0.6, 0.62, 0.65), (0.9, 0.9, 0.9), specularExponent=250,
                         opticalDensity=1.5, dissolve=1, illumination=2, diffuseMap="textures/steel.png")
        self.assertMeshes(result, [("Cube", vertices, quad_indices(6), steel)])
        self.assertEqual(result["allVertices"], 24)
        self.assertEqual(result["allIndices"], quad_indices(6))
        counts = b"\r- Cube\t| vertices > 8\t| texcoords > 4\t| normals > 6\t| triangles > 0"
        self.assertEqual(stdout, b"\n" + counts + counts + b"\t| material: steel\n")

    def test_groups_with_several_materials(self):
        status, stdout, _, result = load("furniture.obj", "furniture.mtl")
        self.assertEqual(status, 0)
        p = {1: [0, 0, 0], 2: [2, 0, 0], 3: [2, 1, 0], 4: [0, 1, 0], 5: [1, 2, 0]}
        up = [0, 0, 1, 0, 0]
        down = [0, 0, -2, 0, 0]  # generated: cross(p0 - p1, p2 - p1), not normalised
        wood = material("wood", diffuse=(0.55, 0.35, 0.2), illumination=1)
        # The MTL reader keeps the CR of a CR LF line in map texts.
        varnish = material("varnish", diffuse=(0.8, 0.7, 0.5), dissolve=0.5, dissolveMap="varnish_alpha.png\r")
        metal = material("metal", (0.1, 0.1, 0.1), (0.5, 0.5, 0.5), (1, 1, 1), specularExponent=500,
                         bumpMap="metal_bump.png\r")
        # "usemtl varnish" closes the quadrilateral as top_2; the i-th material
        # name goes to the i-th completed mesh.
        self.assertMeshes(result, [
            ("top_2", [p[c] + up for c in (1, 2, 3, 4)], [0, 1, 3, 1, 2, 3], wood),
            ("top", [p[c] + up for c in (1, 2, 3, 5, 4)], [0, 1, 4, 1, 2, 4, 2, 3, 4], varnish),
            ("legs", [p[c] + down for c in (1, 2, 3, 3, 4, 1)], [0, 1, 2, 3, 4, 5], metal),
        ])
        self.assertEqual(result["allVertices"], 15)
        self.assertEqual(result["allIndices"], [0, 1, 3, 1, 2, 3, 4, 5, 8, 5, 6, 8, 6, 7, 8, 9, 10, 11, 12, 13, 14])
        top = b"\r- top\t| vertices > 5\t| texcoords > 0\t| normals > 1\t| triangles > 0"
        legs = b"\r- legs\t| vertices > 5\t| texcoords > 0\t| normals > 1\t| triangles > 0"
        self.assertEqual(stdout, b"\n" + top + top + b"\t| material: wood" + top + b"\t| material: varnish\n"
                         + legs + b"\t| material: varnish" + legs + b"\t| material: metal\n")

    def test_negative_indices(self):
        status, stdout, _, result = load("negative_indices.obj", "empty.mtl")
        self.assertEqual(status, 0)
        tri_a = [[0, 0, 0, 0, 0, -1, 0, 0], [1, 0, 0, 0, 0, -1, 1, 0], [0, 1, 0, 0, 0, -1, 0, 1]]
        n = [0, 0, 1, 0, 0]
        tri_b = [[5, 0, 0] + n, [6, 0, 0] + n, [5, 1, 0] + n, [5, 1, 0] + n, [0, 1, 0] + n, [0, 0, 0] + n]
        self.assertMeshes(result, [("tri_a", tri_a, [0, 1, 2], material()),
                                   ("tri_b", tri_b, [0, 1, 2, 3, 4, 5], material())])
        self.assertEqual(result["allIndices"], list(range(9)))
        self.assertEqual(stdout, b"\n\r- tri_a\t| vertices > 0\t| texcoords > 0\t| normals > 0\t| triangles > 0\n"
                         b"\r- tri_b\t| vertices > 3\t| texcoords > 3\t| normals > 0\t| triangles > 0\n")

    def test_non_finite_numbers_are_strings(self):
        status, _, text, result = load("non_finite.obj", "empty.mtl")
        self.assertEqual(status, 0)
        first = result["meshes"][0]["vertices"][0]
        self.assertEqual(first[:3], ["nan", "inf", "-inf"])
        self.assertEqual(first[3:6], ["nan", "nan", "nan"])
        self.assertNotIn("NaN", text)
        self.assertNotIn("Infinity", text)

    def test_failed_loads_exit_1_with_the_reason(self):
        cases = [
            ("bad_index.obj", "OBJ index 0 does not designate an element (indices count from 1)", 3),
            ("bad_number.obj", "invalid stof argument", 0),
            ("empty.mtl", "the OBJ text gave no mesh, vertex or index", 0),
        ]
        for obj, error, vertices in cases:
            with self.subTest(obj=obj):
                status, _, _, result = load(obj, "empty.mtl")
                self.assertEqual(status, 1)
                self.assertIs(result["ok"], False)
                self.assertEqual(result["error"], error)
                self.assertEqual(result["allVertices"], vertices)

    def test_bad_usage_and_unreadable_files_exit_2(self):
        cube, mtl = os.path.join(MODELS, "cube.obj"), os.path.join(MODELS, "cube.mtl")
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "result.json")
            cases = [
                ((), "usage: objl-dump"),
                ((cube, mtl), "usage: objl-dump"),
                ((cube, "--out", out), "usage: objl-dump"),
                ((cube, mtl, "--out"), "usage: objl-dump"),
                ((cube, mtl, "extra", "--out", out), "usage: objl-dump"),
                ((cube, mtl, "--out", out, "--out", out), "usage: objl-dump"),
                ((cube, mtl, "--verbose", "--out", out), "usage: objl-dump"),
                ((os.path.join(tmp, "missing.obj"), mtl, "--out", out), "cannot read " + os.path.join(tmp, "missing.obj")),
                ((cube, os.path.join(tmp, "missing.mtl"), "--out", out), "cannot read " + os.path.join(tmp, "missing.mtl")),
                ((cube, mtl, "--out", os.path.join(tmp, "no", "such", "dir.json")), "cannot write"),
            ]
            for args, message in cases:
                with self.subTest(args=args):
                    status, _, stderr = run_dump(*args)
                    self.assertEqual(status, 2)
                    self.assertIn(message, stderr)
            # The option may stand first.
            status, _, _ = run_dump("--out", out, cube, mtl)
            self.assertEqual(status, 0)
            self.assertTrue(os.path.exists(out))


if __name__ == "__main__":
    unittest.main()
