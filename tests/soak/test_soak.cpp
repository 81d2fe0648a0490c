// The random-edit soak in CI: a fixed seed and a step count that keeps the Debug run well under
// a minute. PELLIX_SOAK_SEED and PELLIX_SOAK_STEPS run another or a longer walk (see README).

#include "SoakWalk.h"

namespace
{

// A little of everything the grid and the tree show: a declaration, a document type, comments
// and processing instructions around the root, attributes, mixed content, CDATA, preserved
// blanks, namespaces and a nest to drag things into.
const std::string kSoakDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE library [<!ENTITY co "Riverside">]>
<?xml-stylesheet type="text/css" href="library.css"?>
<!-- catalogue -->
<library name="&co; Branch" xmlns:dc="http://purl.org/dc/elements/1.1/">
	<shelf id="A1" topic="Fiction">
		<book isbn="1" lang="en"><title>The Keeper</title><dc:creator>Mara</dc:creator>
			<summary>A keeper, a storm &amp; a <em>very</em> long night.</summary>
		</book>
		<book isbn="2"><title>Le Jardin</title><!-- on order --><?check done?></book>
	</shelf>
	<shelf id="B2">
		<book format="hard"><note><![CDATA[<table> & raw]]></note><year>2011</year></book>
		<pre xml:space="preserve">  keep   these  </pre>
	</shelf>
	<staff><member role="librarian">Ines</member><member/></staff>
	<box><box><box/></box></box>
</library>
)";

// A second document, for pastes and cuts between documents.
const std::string kOtherDocument = R"(<?xml version="1.0"?>
<feed xmlns="http://www.w3.org/2005/Atom">
	<title type="text">Example feed</title>
	<entry><link rel="alternate" href="http://example.org/a?x=1&amp;y=2"/>mixed <b>text</b></entry>
</feed>
)";

constexpr std::uint64_t kCiSeed = 20240611;
constexpr int kCiSteps = 4000;

} // namespace

TEST_F(SoakWalk, RandomUserActionsKeepEveryWindowTheDomAndTheFileInStep)
{
    Walk({kOtherDocument, kSoakDocument}, SoakSeed(kCiSeed), SoakSteps(kCiSteps));
}
