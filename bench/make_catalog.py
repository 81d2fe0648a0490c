#!/usr/bin/env python3
"""Writes a catalog of about SIZE megabytes for the XPath and validation figures.

    bench/make_catalog.py SIZE_MB OUT.xml [OUT.xsd]

Each record has an id and a kind (alpha to zeta) attribute, a title, an author with nested
tags, a price with a currency, tags and a note with mixed content. With OUT.xsd the schema
the catalog follows is written too. The output is the same for the same size.
"""
import sys

KINDS = ["alpha", "beta", "gamma", "delta", "epsilon", "zeta"]
WORDS = ["amber", "basalt", "cedar", "dune", "ember", "fjord", "granite", "harbor", "island",
         "juniper", "kelp", "lagoon", "meadow", "nectar", "orchid", "prairie", "quartz", "river"]

SCHEMA = """<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="catalog">
    <xs:complexType>
      <xs:sequence>
        <xs:element name="record" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="title" type="xs:string"/>
              <xs:element name="author">
                <xs:complexType>
                  <xs:sequence>
                    <xs:element name="name" type="xs:string"/>
                    <xs:element name="born" type="xs:gYear"/>
                  </xs:sequence>
                </xs:complexType>
              </xs:element>
              <xs:element name="price">
                <xs:complexType>
                  <xs:simpleContent>
                    <xs:extension base="xs:decimal">
                      <xs:attribute name="currency" type="xs:string" use="required"/>
                    </xs:extension>
                  </xs:simpleContent>
                </xs:complexType>
              </xs:element>
              <xs:element name="tags">
                <xs:complexType>
                  <xs:sequence>
                    <xs:element name="tag" type="xs:string" maxOccurs="unbounded"/>
                  </xs:sequence>
                </xs:complexType>
              </xs:element>
              <xs:element name="note">
                <xs:complexType mixed="true">
                  <xs:sequence>
                    <xs:element name="em" type="xs:string" minOccurs="0" maxOccurs="unbounded"/>
                  </xs:sequence>
                </xs:complexType>
              </xs:element>
            </xs:sequence>
            <xs:attribute name="id" type="xs:positiveInteger" use="required"/>
            <xs:attribute name="kind" use="required">
              <xs:simpleType>
                <xs:restriction base="xs:string">
                  <xs:enumeration value="alpha"/>
                  <xs:enumeration value="beta"/>
                  <xs:enumeration value="gamma"/>
                  <xs:enumeration value="delta"/>
                  <xs:enumeration value="epsilon"/>
                  <xs:enumeration value="zeta"/>
                </xs:restriction>
              </xs:simpleType>
            </xs:attribute>
          </xs:complexType>
        </xs:element>
      </xs:sequence>
    </xs:complexType>
  </xs:element>
</xs:schema>
"""


def record(i):
    w = lambda k: WORDS[(i * 7 + k * 5) % len(WORDS)]
    return (
        f'\t<record id="{i}" kind="{KINDS[i % len(KINDS)]}">\n'
        f'\t\t<title>The {w(1)} of {w(2)}, part {i % 97}</title>\n'
        f'\t\t<author>\n\t\t\t<name>{w(3).title()} {w(4).title()}</name>\n'
        f'\t\t\t<born>{1900 + i % 120}</born>\n\t\t</author>\n'
        f'\t\t<price currency="EUR">{i % 500}.{i % 100:02d}</price>\n'
        f'\t\t<tags>\n\t\t\t<tag>{w(5)}</tag>\n\t\t\t<tag>{w(6)}</tag>\n\t\t</tags>\n'
        f'\t\t<note>Seen near the <em>{w(7)}</em> &amp; kept for record {i}.</note>\n'
        f'\t</record>\n'
    )


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    target = int(sys.argv[1]) << 20
    with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n<catalog>\n')
        written, i = 0, 1
        while written < target:
            text = record(i)
            out.write(text)
            written += len(text)
            i += 1
        out.write("</catalog>\n")
    if len(sys.argv) == 4:
        with open(sys.argv[3], "w", encoding="utf-8") as out:
            out.write(SCHEMA)


if __name__ == "__main__":
    main()
