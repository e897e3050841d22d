"""The Windows side of the console's bounded formatting, run under Wine: every buffer has to
hold what C99 snprintf leaves in it, at most size - 1 characters and a zero, with nothing
written after the zero and nothing at all into a buffer of size 0."""

import unittest

import programs

BUFFER_SIZE = 8
DIGITS = "0123456789"


def expected_buffer(size, length):
    buffer = ["#"] * BUFFER_SIZE
    if size > 0:
        kept = min(length, size - 1)
        buffer[:kept] = DIGITS[:kept]
        buffer[kept] = "|"  # the zero
    return "".join(buffer)


class BoundedFormatting(unittest.TestCase):
    program = None

    def test_every_length_around_the_buffer_size(self):
        result = self.program.run([])
        self.assertEqual(result.returncode, 0)
        expected = "".join("%d %d %s\n" % (size, length, expected_buffer(size, length))
                           for size in range(BUFFER_SIZE + 1)
                           for length in range(BUFFER_SIZE + 2))
        self.assertEqual(result.stdout, expected)


if __name__ == "__main__":
    programs.main([BoundedFormatting])
